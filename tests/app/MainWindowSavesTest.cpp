// What OK, Apply and Cancel's save prompt do when the profiles cannot be
// stored: the window stays open with the edits, the user is told, and a
// retry once storage works again saves them.

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/storage/Registry.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/TabControl.h"

#include "MainWindowFixture.h"
#include "SettingsDatabaseLock.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace k4812;
using namespace k4812::test;

namespace {

class MainWindowSavesTest : public MainWindowFixture {
protected:
    // Chooses 1000 Hz on the Advanced page as the user would (the stored profile says 500 Hz).
    void choose1000Hz()
    {
        control<TabControl>("TabControlMain")->setCurrentIndex(1);
        QTest::mouseClick(control<RadioButton>("RD1000HZ"), Qt::LeftButton);
        ASSERT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 1000);
        ASSERT_TRUE(window->state().SettingsChanged);
    }

    // The report rate of the current profile as a new start reads it.
    int storedReportRate()
    {
        window.reset();
        dm.reset();
        dm = std::make_unique<TDM>();
        return dm->FCurrentProfileInfo().ConfigInfo.ReportRate;
    }

    QString profileFile(int index)
    {
        const TuiProfile& store = *dm->FProfileGroup(index);
        return QDir(store.FilePath()).filePath(store.FileName());
    }
};

struct FrameButtonCase {
    const char* button;
    std::deque<int> answersWhileLocked; // the save prompt's question first, where there is one
    std::deque<int> answersOnRetry;
    bool closesOnRetry;
};

void PrintTo(const FrameButtonCase& c, std::ostream* out)
{
    *out << c.button;
}

class MainWindowFailedSaveTest : public MainWindowSavesTest, public ::testing::WithParamInterface<FrameButtonCase> {};

} // namespace

TEST_P(MainWindowFailedSaveTest, KeepsTheWindowAndTheEditAndARetrySavesIt)
{
    const FrameButtonCase& c = GetParam();
    dm->registry().setBusyTimeoutMs(0);
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    choose1000Hz();

    {
        SettingsDatabaseLock lock(dm->registry().databasePath());
        ASSERT_TRUE(lock.held());
        answers = c.answersWhileLocked;
        QTest::mouseClick(control(c.button), Qt::LeftButton);
        clock.advance(TK4812CfgMain::kCloseAfterOkMs);

        EXPECT_TRUE(w.isVisible()) << "the window stays open";
        ASSERT_EQ(dialogs.size(), qsizetype(c.answersWhileLocked.size()));
        EXPECT_TRUE(dialogs.last().contains(QLatin1String("locked"))) << dialogs.last().toStdString();
        EXPECT_TRUE(w.state().SettingsChanged) << "the edit is still unsaved";
        EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 1000);
        EXPECT_TRUE(control<RadioButton>("RD1000HZ")->isChecked());
        EXPECT_EQ(reportsSent(), 0u) << "nothing reaches the mouse";
    }

    // The other program is done: the same button now saves.
    dialogs.clear();
    answers = c.answersOnRetry;
    QTest::mouseClick(control(c.button), Qt::LeftButton);
    clock.advance(TK4812CfgMain::kCloseAfterOkMs);
    EXPECT_EQ(w.isVisible(), !c.closesOnRetry);
    EXPECT_EQ(dialogs.size(), qsizetype(c.answersOnRetry.size())) << dialogs.join('\n').toStdString();
    EXPECT_EQ(storedReportRate(), 1000);
}

INSTANTIATE_TEST_SUITE_P(FrameButtons, MainWindowFailedSaveTest,
                         ::testing::Values(FrameButtonCase{"BSBTNOK", {1}, {}, true},
                                           FrameButtonCase{"BSBTNAPPLY", {1}, {}, false},
                                           FrameButtonCase{"BSBTNCANCEL", {1, 1}, {1}, true}),
                         [](const ::testing::TestParamInfo<FrameButtonCase>& param) {
                             return std::string(param.param.button);
                         });

TEST_F(MainWindowSavesTest, CancelsSavePromptStoresEveryProfileItCanAndSaysWhichFailed)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    choose1000Hz();
    // Profile 3's file cannot be replaced (a folder took its name); the
    // files of profiles 4 and 5 are gone and must be written again.
    const QString blocked = profileFile(2);
    ASSERT_TRUE(QFile::remove(blocked));
    ASSERT_TRUE(QDir().mkpath(blocked + QLatin1String("/inside")));
    ASSERT_TRUE(QFile::remove(profileFile(3)));
    ASSERT_TRUE(QFile::remove(profileFile(4)));

    answers = {1, 1};
    QTest::mouseClick(control("BSBTNCANCEL"), Qt::LeftButton);

    EXPECT_TRUE(w.isVisible()) << "not closed as if all was saved";
    EXPECT_TRUE(w.state().SettingsChanged);
    ASSERT_EQ(dialogs.size(), 2);
    const QStringList shown = dialogs[1].split(QLatin1Char('|'));
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0], QLatin1String("Warning"));
    EXPECT_EQ(shown[1], QLatin1String("Not every profile could be saved."));
    EXPECT_TRUE(shown[2].contains(blocked)) << shown[2].toStdString();
    EXPECT_TRUE(QFile::exists(profileFile(3))) << "the steps after the failed one ran";
    EXPECT_TRUE(QFile::exists(profileFile(4)));
    EXPECT_EQ(storedReportRate(), 1000) << "the registry took the edit";
}

TEST_F(MainWindowSavesTest, TheSavePromptsFailureIsShownInTheWindowsLanguage)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    dm->FAllProfileSettingInfo().CurrentLanguage = 1; // simplified Chinese
    w.handleWindowMessage(UM_LANGUAGE_CHANGED);
    choose1000Hz();
    dm->registry().setBusyTimeoutMs(0);
    SettingsDatabaseLock lock(dm->registry().databasePath());
    answers = {1, 1};
    QTest::mouseClick(control("BSBTNCANCEL"), Qt::LeftButton);
    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_FALSE(dialogs[1].contains(QLatin1String("Not every profile could be saved.")))
        << dialogs[1].toStdString();
    EXPECT_TRUE(w.isVisible());
    lock.release();
    dm->FAllProfileSettingInfo().CurrentLanguage = 0;
    w.handleWindowMessage(UM_LANGUAGE_CHANGED);
}
