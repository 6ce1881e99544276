// What start-up repaired (a damaged profile file moved aside, a replaced
// bookkeeping record, a damaged or missing language file) is shown in one
// message dialog once the window is up.

#include "platform/storage/Registry.h"
#include "profiles/FactoryDefaults.h"

#include "MainWindowFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <optional>

using namespace k4812;
using namespace k4812::test;

namespace {

class StartupRepairsTest : public MainWindowFixture {
protected:
    // A program folder of its own, holding `uiLocal` as its language file
    // when given (nothing else: the window then paints without its skin).
    void useProgramFolder(const std::optional<QByteArray>& uiLocal)
    {
        const QString folder = env.path("program");
        ASSERT_TRUE(QDir().mkpath(folder));
        if (uiLocal) {
            ASSERT_TRUE(writeFile(folder + QLatin1String("/ui.local"), *uiLocal));
        }
        env.set("K4812_PROGRAM_DIR", folder);
    }

    // Starts the profile manager again, then the window; says whether the
    // window was visible when the dialog came.
    void startAndShow()
    {
        dm.reset();
        dm = std::make_unique<TDM>();
        TK4812CfgMain::Services s = services();
        auto shown = s.messageDialog;
        s.messageDialog = [this, shown](const QString& title, const QString& text, const QString& second) {
            visibleAtDialog = window->isVisible();
            return shown(title, text, second);
        };
        window = std::make_unique<TK4812CfgMain>(*dm, *hid, s);
        started = window->FormCreate();
        EXPECT_TRUE(dialogs.isEmpty()) << "nothing is shown before the window is up";
        window->show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QString profileFile(int index)
    {
        const TuiProfile& store = *dm->FProfileGroup(index);
        return QDir(store.FilePath()).filePath(store.FileName());
    }

    std::optional<bool> visibleAtDialog;
};

} // namespace

TEST_F(StartupRepairsTest, OneDialogAfterTheWindowIsUpListsEveryRepairAndWhereTheOldFileWasKept)
{
    const QByteArray language = readFile(QStringLiteral(K4812_BIN_DIR "/ui.local"));
    ASSERT_GT(language.size(), 100);
    useProgramFolder(language.left(language.size() / 2)); // cut short, as by a failed copy
    ASSERT_TRUE(writeFile(profileFile(1), QByteArray("\x03\x01", 2)));
    dm->registry().writeBinary(HKEY_CURRENT_USER, QLatin1String(kProfileKeyPath),
                               QLatin1String(TDM::kAllSettingName), QByteArray(10, 'x'));

    answers = {1};
    startAndShow();
    ASSERT_TRUE(started);
    ASSERT_EQ(dialogs.size(), 1) << dialogs.join('\n').toStdString();
    EXPECT_EQ(visibleAtDialog, true);
    const QStringList parts = dialogs[0].split(QLatin1Char('|'));
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0], QLatin1String("Warning"));
    EXPECT_EQ(parts[1], QLatin1String("Damaged or missing files were found at start; what was repaired is listed below."));
    const QStringList lines = parts[2].split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3) << parts[2].toStdString();
    const QStringList aside = QDir(QFileInfo(profileFile(1)).absolutePath()).entryList({"Profile2.pfd.damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(lines.filter(aside[0]).size(), 1) << "where the old profile file was kept: " << parts[2].toStdString();
    EXPECT_EQ(lines.filter(QLatin1String("registry value \"ProfileAllSetting.pfd.damaged-")).size(), 1)
        << parts[2].toStdString();
    EXPECT_EQ(lines.filter(QLatin1String("ui.local")).size(), 1) << parts[2].toStdString();

    // Shown once only.
    window->hide();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.size(), 1);
}

TEST_F(StartupRepairsTest, AMissingLanguageFileIsNamed)
{
    useProgramFolder(std::nullopt);
    answers = {1};
    startAndShow();
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_TRUE(dialogs[0].contains(env.path("program/ui.local"))) << dialogs[0].toStdString();
    EXPECT_TRUE(dialogs[0].contains(QLatin1String("English"))) << dialogs[0].toStdString();
}
