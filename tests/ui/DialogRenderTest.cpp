// Renders the dialogs on the generated skin at pixel ratios 1 and 2. With
// K4812_SCREENSHOT_DIR set the pictures are also saved there, for looking at
// the skin while working on it.

#include "i18n/TuiLanguage.h"
#include "platform/storage/IniFile.h"
#include "ui/controls/BusyIndicator.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/Glow.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TabControl.h"
#include "ui/controls/TextBox.h"
#include "ui/controls/TrackBar.h"
#include "ui/dialogs/HelpDialog.h"
#include "ui/dialogs/HelpDialogHost.h"
#include "ui/dialogs/MessageDialog.h"
#include "ui/skin/ImageDataBase.h"
#include "ui/windows/SkinWindow.h"

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
    message.setTexts(QStringLiteral("Reset This Profile"),
                     QStringLiteral("Are you sure you want to reset this profile ?"),
                     QStringLiteral("Reset the current profile back to factory setting."));
    checkAndSave(message, QStringLiteral("messagedialog"), QSize(458, 246));
    // A long storage error: the grown dialog keeps its skin's top bar.
    TFrmMessageDialog longMessage;
    longMessage.setTexts(QStringLiteral("Warning"), QStringLiteral("The profile could not be stored."),
                         QStringLiteral("/home/someone/Documents/GamingMouseProfiles/") + QString(120, QLatin1Char('p'))
                             + QStringLiteral(".pfd: No space left on device"));
    ASSERT_GT(longMessage.height(), 246);
    checkAndSave(longMessage, QStringLiteral("messagedialog-long"), longMessage.size());

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

// Every control on the main window's skin, to see them together.
TEST(DialogRenderTest, ControlsOnTheMainSkin)
{
    TImageDataBase& images = imageDataBase();
    images.SetImageBasePath(QStringLiteral(K4812_BIN_DIR "/Images/0409"));
    SkinWindow window(nullptr, 80);
    window.setBackground(images.image(QStringLiteral("mainback.png"), QStringLiteral("dialog")));
    auto faces = [&images](SkinButton* b, const QString& stem, const QString& group) {
        b->setFaces(images.image(stem + "-1.png", group), images.image(stem + "-2.png", group),
                    images.image(stem + "-3.png", group));
    };
    const char* glyphs[] = {"help", "min", "close"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new SkinButton(&window);
        faces(b, QString::fromLatin1(glyphs[i]), QStringLiteral("buttons"));
        b->move(700 + i * 40, 22);
    }
    auto* title = new SkinLabel(&window);
    title->setFontSize(14, true);
    title->setText(QStringLiteral("Button Assignment"));
    title->setGeometry(24, 26, 300, 30);
    const char* entries[] = {"Click", "Right Click", "Middle Button", "Forward", "Backward"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new SkinButton(&window);
        faces(b, QStringLiteral("ButtonAssign"), QStringLiteral("buttons"));
        b->setText(QString::fromLatin1(entries[i]));
        b->move(i % 2 == 0 ? 30 : 310, 130 + i * 60);
    }
    const char* profiles[] = {"PRESET", "PROFILE1", "PROFILE2", "PROFILE3", "PROFILE4", "PROFILE5"};
    for (int i = 0; i < 6; ++i) {
        auto* b = new SkinButton(&window);
        faces(b, i == 0 ? QStringLiteral("preset") : QStringLiteral("profile1"), QStringLiteral("buttons"));
        b->setText(QString::fromLatin1(profiles[i]));
        b->setStaysPressed(true);
        b->setChecked(i == 1);
        b->move(20 + i * 79, 548);
    }
    for (int i = 0; i < 2; ++i) {
        auto* b = new SkinButton(&window);
        b->setFaces(images.image("mode-1.png", "buttons"), images.image("mode-2.png", "buttons"),
                    images.image("mode-2.png", "buttons"));
        b->setText(i == 0 ? QStringLiteral("Mode 1") : QStringLiteral("Mode 2"));
        b->setStaysPressed(true);
        b->setChecked(i == 0);
        b->move(30 + i * 104, 500);
    }
    auto* tabs = new TabControl(&window);
    tabs->setGeometry(514, 96, 324, 490);
    auto* page = new QWidget;
    tabs->addPage(page, QStringLiteral("Sensitivity"));
    tabs->addPage(new QWidget, QStringLiteral("Advanced"));
    tabs->addPage(new QWidget, QStringLiteral("System Setting"));
    for (int level = 0; level < 4; ++level) {
        for (int axis = 0; axis < 2; ++axis) {
            auto* box = new NumberBox(page);
            box->setRange(100, 3500);
            box->setValue(400 + level * 400 + axis * 100);
            box->setGeometry(90 + axis * 100, 20 + level * 34, 80, 24);
            setGlowColor(box, QColor(0xFF0056FF));
            setGlowEnabled(box, level == 1);
        }
    }
    auto* track = new TrackBar(page);
    track->setRange(100, 3500);
    track->setStep(100);
    track->setBackground(images.image("DPISetting-back.png", "controls"));
    track->move(20, 170);
    track->setValue(1600);
    auto* check = new CheckBox(page);
    check->setText(QStringLiteral("Diffirent X/Y setting"));
    check->setBoxImages(images.image("check-unchecked.png", "controls"), images.image("check-checked.png", "controls"));
    check->setChecked(true);
    check->setGeometry(20, 220, 200, 22);
    for (int i = 0; i < 2; ++i) {
        auto* radio = new RadioButton(page);
        radio->setGroupName(QStringLiteral("RATE"));
        radio->setBoxImages(images.image("radio-unchecked.png"), images.image("radio-checked.png"));
        radio->setText(i == 0 ? QStringLiteral("500Hz") : QStringLiteral("1000Hz"));
        radio->setChecked(i == 0);
        radio->setGeometry(20 + i * 110, 252, 100, 22);
    }
    for (int i = 0; i < 6; ++i) {
        auto* swatch = new SkinButton(page);
        swatch->setFaces(images.image(QStringLiteral("c%1.png").arg(i + 1), "buttons"), {}, {});
        swatch->move(20 + i * 34, 290);
    }
    auto* list = new ListBox(page);
    list->addItems({QStringLiteral("Macro 1"), QStringLiteral("Macro 2")});
    list->setCurrentRow(0);
    list->setGeometry(20, 330, 140, 60);
    auto* text = new TextBox(page);
    text->setText(QStringLiteral("F5"));
    text->setGeometry(180, 330, 100, 24);
    auto* image = new ImageView(page);
    image->setImage(images.image("testarea.png", "controls"));
    image->move(190, 364);
    auto* busy = new BusyIndicator(&window);
    busy->setGeometry(800, 610, 32, 32);
    busy->start();
    checkAndSave(window, QStringLiteral("controls"), QSize(850, 655));
    images.clearCache();
}

} // namespace
} // namespace k4812
