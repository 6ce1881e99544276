// Renders the dialogs on the generated skin at pixel ratios 1 and 2. With
// K4812_SCREENSHOT_DIR set the pictures are also saved there, for looking at
// the skin while working on it.

#include "i18n/TuiLanguage.h"
#include "platform/storage/IniFile.h"
#include "ui/dialogs/HelpDialog.h"
#include "ui/dialogs/HelpDialogHost.h"
#include "ui/dialogs/MessageDialog.h"
#include "ui/skin/ImageDataBase.h"

#include "UiTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

class NoHelpHost : public HelpDialogHost {
public:
    int currentLanguage() const override { return 0; }
    QString storeCurrentLanguage(int) override { return {}; }
    void announceLanguageChanged() override {}
    void openLink(const QUrl&) override {}
};

void checkAndSave(QWidget& window, const QString& name, QSize size)
{
    window.show();
    for (qreal ratio : {1.0, 2.0}) {
        const QImage image = test::renderAt(window, ratio);
        EXPECT_EQ(image.size(), size * ratio) << qPrintable(name);
        // The skin's own background, not the theme colour the window falls back to.
        EXPECT_NE(test::pixelAt(image, {size.width() / 2, 20}), test::pixelAt(image, {size.width() / 2, 120}))
            << qPrintable(name) << ": top bar and panel differ";
        const QString folder = qEnvironmentVariable("K4812_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            image.save(folder + QStringLiteral("/%1@%2x.png").arg(name).arg(int(ratio)));
        }
    }
}

TEST(DialogRenderTest, MessageAndHelpDialogs)
{
    imageDataBase().SetImageBasePath(QStringLiteral(K4812_BIN_DIR "/Images/0409"));
    imageDataBase().setLoadHighDensity(true);
    TFrmMessageDialog message;
    message.setTexts(QStringLiteral("Reset This Profile"), QStringLiteral("Are you sure you want to reset this profile ?"),
                     QStringLiteral("Reset the current profile back to factory setting."));
    checkAndSave(message, QStringLiteral("messagedialog"), QSize(458, 246));

    TuiLanguage language;
    LanguageFile file;
    file.resources = {{QStringLiteral("0409"), {}}, {QStringLiteral("0804"), {}}, {QStringLiteral("0404"), {}}};
    language.setLanguages(file);
    NoHelpHost host;
    THelpForm help(language, host,
                   helpLinksFrom(IniFile::fromBytes("[specialversion]\nVERSION=V2\nWebSiteURL=https://example.org/\n"
                                                    "ForumURL=https://example.org/forum\n")));
    checkAndSave(help, QStringLiteral("helpdialog"), QSize(446, 446));
    imageDataBase().setLoadHighDensity(false);
    imageDataBase().clearCache();
}

} // namespace
} // namespace k4812
