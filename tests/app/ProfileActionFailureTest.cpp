// A profile, mode, preset or import action whose storing fails is undone
// whole: the profile manager, the pages, the profile and mode buttons and the
// stored profiles stay as they were, and the next Apply stores the pages'
// edits into the profile they were made in. A "ProfileID" that cannot be
// written after a switch is shown.

#include "app/pages/ProfileControls.h"
#include "app/pages/ProfileFileDialogs.h"
#include "platform/storage/Registry.h"
#include "records/RecordBytes.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/TabControl.h"

#include "MainWindowFixture.h"
#include "SettingsDatabaseLock.h"

#include <QFile>
#include <QTest>

#include <functional>
#include <optional>

using namespace k4812;
using namespace k4812::test;

namespace {

class AnsweringFileDialogs final : public ProfileFileDialogs {
public:
    QString openProfileFile(QWidget*, const QString&) override { return answer; }
    QString saveProfileFile(QWidget*, const QString&) override { return answer; }
    QString answer;
};

// What the profile manager holds, byte for byte.
struct ManagerState {
    int profile = 0;
    int mode = 0;
    QByteArray working;
    QByteArray group;
    QByteArray all;
    QStringList stores;

    bool operator==(const ManagerState&) const = default;
};

class ProfileActionFailureTest : public MainWindowFixture {
protected:
    TK4812CfgMain& openWithFileDialogs()
    {
        TK4812CfgMain::Services s = services();
        s.profileFileDialogs = &fileDialogs;
        window = std::make_unique<TK4812CfgMain>(*dm, *hid, s);
        started = window->FormCreate();
        window->show();
        return *window;
    }

    ManagerState managerState()
    {
        ManagerState s{dm->FProfileIndex(), dm->FProfileGroupIndex(), recordToBytes(dm->FCurrentProfileInfo()),
                       recordToBytes(dm->FProfileSettingGroup()), recordToBytes(dm->FAllProfileSettingInfo()), {}};
        for (int i = 0; i < kProfileCount; ++i) {
            const TuiProfile& store = *dm->FProfileGroup(i);
            s.stores << QString::fromLatin1(store.stream().toHex()) + store.FilePath() + store.FileName();
        }
        return s;
    }

    // Which of the five profile buttons and two mode buttons look pressed.
    QString pressedButtons()
    {
        QString pressed;
        for (const char* name : {"BSBTNMODE1", "BSBTNMODE2", "BSBTNPROFILE1", "BSBTNPROFILE2", "BSBTNPROFILE3",
                                 "BSBTNPROFILE4", "BSBTNPROFILE5"})
            pressed += control(name)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        return pressed;
    }

    AnsweringFileDialogs fileDialogs;
};

struct ActionCase {
    const char* name;
    std::function<void(TK4812CfgMain&, AnsweringFileDialogs&, const QString& home)> act;
};

void PrintTo(const ActionCase& c, std::ostream* out)
{
    *out << c.name;
}

class FailedProfileActionTest : public ProfileActionFailureTest, public ::testing::WithParamInterface<ActionCase> {};

} // namespace

TEST_P(FailedProfileActionTest, IsUndoneWholeAndApplyStoresTheEditsWhereTheyWereMade)
{
    dm->registry().setBusyTimeoutMs(0);
    TK4812CfgMain& w = openWithFileDialogs();
    ASSERT_TRUE(started);
    // An unsaved edit of profile 1: 250 Hz.
    control<TabControl>("TabControlMain")->setCurrentIndex(1);
    QTest::mouseClick(control<RadioButton>("RD250HZ"), Qt::LeftButton);
    ASSERT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 250);
    const ManagerState before = managerState();
    const QString pressedBefore = pressedButtons();
    ASSERT_EQ(pressedBefore, QLatin1String("1010000"));

    {
        SettingsDatabaseLock lock(dm->registry().databasePath());
        ASSERT_TRUE(lock.held());
        answers = {1};
        GetParam().act(w, fileDialogs, env.home());

        ASSERT_EQ(dialogs.size(), 1);
        EXPECT_TRUE(dialogs[0].startsWith(QLatin1String("Warning|The profile could not be stored.|")))
            << dialogs[0].toStdString();
        EXPECT_TRUE(dialogs[0].contains(QLatin1String("locked"))) << dialogs[0].toStdString();
        EXPECT_TRUE(managerState() == before) << "memory as before the action";
        EXPECT_EQ(pressedButtons(), pressedBefore);
        EXPECT_TRUE(control<RadioButton>("RD250HZ")->isChecked()) << "the pages still show the edit";
        EXPECT_TRUE(w.state().SettingsChanged);
        EXPECT_EQ(reportsSent(), 0u) << "the mouse was not told of a switch that did not happen";
    }

    // Storage works again: Apply stores the edit into profile 1 and nothing else changed.
    dialogs.clear();
    QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.isEmpty()) << dialogs.join('\n').toStdString();
    window.reset();
    dm.reset();
    dm = std::make_unique<TDM>();
    EXPECT_EQ(dm->FProfileIndex(), 0);
    EXPECT_EQ(dm->FProfileGroupIndex(), 0);
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 250);
    EXPECT_EQ(dm->FProfileGroup(0)->FileName(), QLatin1String("Profile1.pfd"));
    EXPECT_EQ(recordToBytes(dm->FCurrentProfileInfo()), before.working);
}

void click(TK4812CfgMain& w, const char* name)
{
    QTest::mouseClick(w.findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, FailedProfileActionTest,
    ::testing::Values(
        ActionCase{"ProfileButton", [](TK4812CfgMain& w, AnsweringFileDialogs&, const QString&) { click(w, "BSBTNPROFILE5"); }},
        ActionCase{"ModeButton", [](TK4812CfgMain& w, AnsweringFileDialogs&, const QString&) { click(w, "BSBTNMODE2"); }},
        ActionCase{"Preset",
                   [](TK4812CfgMain& w, AnsweringFileDialogs&, const QString&) {
                       w.profileControls()->PresetItemClick(ProfileControls::ShortGame);
                   }},
        ActionCase{"LoadFromFile",
                   [](TK4812CfgMain& w, AnsweringFileDialogs& files, const QString& home) {
                       files.answer = home + QLatin1String("/mine/Imported.pfd");
                       ASSERT_TRUE(writeFile(files.answer, readFile(QStringLiteral(K4812_BIN_DIR "/PresetProfile1.pfd"))));
                       w.profileControls()->PresetItemClick(ProfileControls::LoadFromFile);
                   }}),
    [](const ::testing::TestParamInfo<ActionCase>& param) { return std::string(param.param.name); });

TEST_F(ProfileActionFailureTest, AProfileIdThatCannotBeWrittenIsShownAndTheSwitchStands)
{
    dm->registry().setBusyTimeoutMs(0);
    TK4812CfgMain& w = openWithFileDialogs();
    ASSERT_TRUE(started);
    // The database is taken by another program once the switch is stored,
    // while the mouse is being told.
    std::optional<SettingsDatabaseLock> lock;
    duringWait = [&] {
        if (!lock)
            lock.emplace(dm->registry().databasePath());
    };
    answers = {1};
    QTest::mouseClick(control("BSBTNPROFILE5"), Qt::LeftButton);
    duringWait = nullptr;
    lock.reset();

    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_TRUE(dialogs[0].startsWith(
        QLatin1String("Warning|The current profile number could not be recorded for the monitor program.|")))
        << dialogs[0].toStdString();
    EXPECT_TRUE(dialogs[0].contains(QLatin1String("locked")));
    EXPECT_EQ(dm->FProfileIndex(), 4);
    EXPECT_EQ(pressedButtons(), QLatin1String("1000001"));
    EXPECT_TRUE(w.isVisible());
}
