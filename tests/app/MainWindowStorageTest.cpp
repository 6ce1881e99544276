// The window's stores run on the storage thread: a store that fails there
// still stops every write to the mouse that would follow it, with the message
// shown as before; and while a store runs, the window's input is held, so
// that nothing edits, switches, starts a sequence or closes the window under
// the store.

#include "app/buttons/ButtonAssignmentPanel.h"
#include "app/pages/SensitivityPage.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/StorageThread.h"
#include "platform/storage/Registry.h"
#include "profiles/PendingSystemAction.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/StorageInputHold.h"
#include "ui/controls/TrackBar.h"
#include "ui/controls/TabControl.h"
#include "ui/menu/TuiMenuEx.h"

#include "MainWindowFixture.h"
#include "QtEventLoop.h"
#include "SettingsDatabaseLock.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QTest>
#include <QThread>

#include <functional>
#include <optional>

using namespace k4812;
using namespace k4812::test;

namespace {

class MainWindowStorageTest : public MainWindowFixture {
protected:
    // Chooses 1000 Hz on the Advanced page (the stored profile says 500 Hz).
    void choose1000Hz()
    {
        control<TabControl>("TabControlMain")->setCurrentIndex(1);
        QTest::mouseClick(control<RadioButton>("RD1000HZ"), Qt::LeftButton);
        ASSERT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 1000);
    }

    // Holds the settings database as another program would. The first time a
    // store waits for it, `meanwhile` runs from the window's loop, and then
    // the lock is let go. False when the lock could not be taken.
    bool interfereWhileTheStoreWaits(QObject& target, std::function<void()> meanwhile)
    {
        lock.emplace(dm->registry().databasePath());
        if (!lock->held())
            return false;
        // Never runs out here: the lock is let go once `meanwhile` has run.
        dm->registry().setBusyTimeoutMs(20000);
        dm->registry().setBusyObserver([this, &target, meanwhile = std::move(meanwhile)](int) {
            lockedOn.push_back(QThread::currentThread());
            if (lockedOn.size() != 1)
                return;
            QMetaObject::invokeMethod(
                &target,
                [this, meanwhile] {
                    interfered = true;
                    meanwhile();
                    lock.reset();
                },
                Qt::QueuedConnection);
        });
        return true;
    }

    // The threads on which the settings database found itself locked.
    std::vector<QThread*> lockedOn;
    std::optional<SettingsDatabaseLock> lock;
    bool interfered = false;
};

struct FailedStoreCase {
    const char* button;
    const char* shownText; // the dialog's text, as before the stores moved
};

void PrintTo(const FailedStoreCase& c, std::ostream* out)
{
    *out << c.button;
}

class FailedStoreTest : public MainWindowStorageTest, public ::testing::WithParamInterface<FailedStoreCase> {};

} // namespace

TEST_P(FailedStoreTest, StopsTheWritesThatFollowItWithTheSameMessage)
{
    const FailedStoreCase& c = GetParam();
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    choose1000Hz();
    const EmulatorState mouseBefore = emulator->mouse().state();
    const std::size_t reportsBefore = reportsSent();

    // Another program holds the settings database; the store waits a moment
    // on the storage thread and gives up.
    dm->registry().setBusyTimeoutMs(1);
    dm->registry().setBusyObserver([this](int) { lockedOn.push_back(QThread::currentThread()); });
    SettingsDatabaseLock held(dm->registry().databasePath());
    ASSERT_TRUE(held.held());
    answers = {1};
    QTest::mouseClick(control(c.button), Qt::LeftButton);

    ASSERT_FALSE(lockedOn.empty()) << "the store never met the lock";
    for (QThread* thread : lockedOn) {
        EXPECT_EQ(thread, StorageThread::shared().thread());
        EXPECT_NE(thread, QThread::currentThread());
    }
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_TRUE(dialogs[0].startsWith(QLatin1String(c.shownText))) << dialogs[0].toStdString();
    EXPECT_TRUE(dialogs[0].contains(QLatin1String("stayed locked by another program"))) << dialogs[0].toStdString();
    EXPECT_EQ(reportsSent(), reportsBefore) << "nothing reached the mouse after the failed store";
    EXPECT_TRUE(emulator->mouse().state() == mouseBefore);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(StorageInputHold::active());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, FailedStoreTest,
    ::testing::Values(FailedStoreCase{"BSBTNAPPLY", "Warning|The settings database"},
                      FailedStoreCase{"BSBTNOK", "Warning|The settings database"},
                      FailedStoreCase{"BSBTNPROFILE3", "Warning|The profile could not be stored.|"},
                      FailedStoreCase{"BSBTNMODE2", "Warning|The profile could not be stored.|"}),
    [](const ::testing::TestParamInfo<FailedStoreCase>& param) { return std::string(param.param.button); });

namespace {

struct HeldInputCase {
    const char* button;       // starts the store
    std::deque<int> answers;  // Cancel's save prompt
    int profileAfter;         // the current profile once it ended
};

void PrintTo(const HeldInputCase& c, std::ostream* out)
{
    *out << c.button;
}

class HeldInputTest : public MainWindowStorageTest, public ::testing::WithParamInterface<HeldInputCase> {};

} // namespace

// The store is held up by another program's lock; while the storage thread
// waits for it the user clicks Apply, a profile button and another report
// rate, presses keys, opens an entry's menu, closes the window, the monitor
// asks for a reload and the pending desktop change's wait ends.
// None of it may run under the store; the close follows once it ended.
TEST_P(HeldInputTest, InputDuringAStoreIsRefusedAndACloseWaitsForIt)
{
    const HeldInputCase& c = GetParam();
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    choose1000Hz();
    int applies = 0;
    QObject::connect(&w, &TK4812CfgMain::applied, [&] { ++applies; });

    bool heldMeanwhile = false;
    int reportRateMeanwhile = 0;
    int swallowed = 0;
    bool menuOpenedMeanwhile = true;
    QString pendingMeanwhile;
    bool openAfterClose = false;
    // The System Setting page's desktop change waits 500 ms; it ends during the store.
    w.timerDoAction().schedule(QLatin1String(kActionSetPointerSpeed));
    ASSERT_TRUE(interfereWhileTheStoreWaits(w, [&] {
        heldMeanwhile = StorageInputHold::active();
        const int before = StorageInputHold::swallowedCount();
        QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);
        QTest::mouseClick(control("BSBTNPROFILE3"), Qt::LeftButton);
        QTest::mouseClick(control<RadioButton>("RD500HZ"), Qt::LeftButton);
        QTest::keyClick(control<RadioButton>("RD500HZ"), Qt::Key_Space);
        QTest::mouseClick(control("BtnSet8"), Qt::LeftButton); // the wheel entry's menu
        menuOpenedMeanwhile = w.buttonAssignment().uiMenuEx2().GetIsMenuOpened();
        w.handleWindowMessage(UM_RELOAD_PROFILE);
        clock.advance(kSystemActionDelay);
        pendingMeanwhile = w.timerDoAction().pending();
        w.close();
        openAfterClose = w.isVisible();
        swallowed = StorageInputHold::swallowedCount() - before;
        // Read, not changed: the store holds the profile manager, but
        // nothing here may have written it.
        reportRateMeanwhile = control<RadioButton>("RD500HZ")->isChecked() ? 500 : 1000;
    }));

    answers = c.answers;
    QTest::mouseClick(control(c.button), Qt::LeftButton);

    ASSERT_TRUE(interfered) << "the window's loop did not turn while the store waited";
    EXPECT_TRUE(heldMeanwhile);
    EXPECT_GE(swallowed, 3) << "the clicks and the key press were swallowed";
    EXPECT_EQ(reportRateMeanwhile, 1000) << "the other report rate was not chosen";
    EXPECT_FALSE(menuOpenedMeanwhile);
    EXPECT_TRUE(openAfterClose) << "closed under the store";
    EXPECT_NE(lockedOn.front(), QThread::currentThread()) << "the store ran on the window's thread";
    EXPECT_EQ(dialogs.size(), qsizetype(c.answers.size())) << dialogs.join('\n').toStdString();
    EXPECT_EQ(applies, QLatin1String(c.button) == QLatin1String("BSBTNAPPLY") ? 1 : 0) << "no second apply";
    EXPECT_EQ(dm->FProfileIndex(), c.profileAfter) << "the profile button was refused";
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, c.profileAfter == 0 ? 1000 : 500);
    EXPECT_EQ(pendingMeanwhile, QLatin1String(kActionSetPointerSpeed)) << "the desktop change ran under the store";
    EXPECT_TRUE(runEventsUntil([&] { return !w.isVisible() && w.timerDoAction().pending().isEmpty(); }))
        << "the close and the desktop change asked for meanwhile follow";
    EXPECT_FALSE(StorageInputHold::active());
}

INSTANTIATE_TEST_SUITE_P(Stores, HeldInputTest,
                         ::testing::Values(HeldInputCase{"BSBTNAPPLY", {}, 0},
                                           HeldInputCase{"BSBTNCANCEL", {1}, 0},
                                           HeldInputCase{"BSBTNPROFILE2", {}, 1}),
                         [](const ::testing::TestParamInfo<HeldInputCase>& param) {
                             return std::string(param.param.button);
                         });

// What the user does on the display during a store is not lost: the pointer
// hovers at once (the window repaints), and a click waits for the store and
// then arrives as it was made. Here Apply's store is held up by another
// program's lock while the user points at 500 Hz and clicks it.
TEST_F(MainWindowStorageTest, ADisplayClickDuringAStoreArrivesAfterItAndHoverPassesAtOnce)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    choose1000Hz();
    QWindow* shown = w.windowHandle();
    ASSERT_NE(shown, nullptr);
    auto* rate500 = control<RadioButton>("RD500HZ");
    const QPoint at = rate500->mapTo(&w, rate500->rect().center());

    bool hoveredMeanwhile = false;
    bool chosenMeanwhile = true;
    ASSERT_TRUE(interfereWhileTheStoreWaits(w, [&] {
        QTest::mouseMove(shown, at);
        hoveredMeanwhile = rate500->underMouse();
        QTest::mouseClick(shown, Qt::LeftButton, {}, at);
        chosenMeanwhile = rate500->isChecked();
    }));

    QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);

    ASSERT_TRUE(interfered) << "the window's loop did not turn while the store waited";
    EXPECT_TRUE(hoveredMeanwhile) << "the pointer's move waited for the store";
    EXPECT_FALSE(chosenMeanwhile) << "the click was taken under the store";
    EXPECT_TRUE(runEventsUntil([&] { return rate500->isChecked(); })) << "the click made during the store was lost";
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 500);
    EXPECT_FALSE(StorageInputHold::active());
}

// A screen reader sets a track bar's value and presses a radio button over
// AT-SPI while Apply's store waits for another program's lock: neither
// touches the profile under the store, and both are made once it has ended.
TEST_F(MainWindowStorageTest, AssistiveChangesDuringAStoreWaitForItAndAreNotLost)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    choose1000Hz();
    auto* track = control<TrackBar>("TrackBarCPIX");
    auto* rate500 = control<RadioButton>("RD500HZ");
    const int level = w.sensitivityPage()->selectedCpiLevel();
    ASSERT_NE(dm->FCurrentProfileInfo().ConfigInfo.CPIState[level].X, 2000);

    int trackMeanwhile = 0;
    bool chosenMeanwhile = true;
    ASSERT_TRUE(interfereWhileTheStoreWaits(w, [&] {
        QAccessible::queryAccessibleInterface(track)->valueInterface()->setCurrentValue(2000);
        QAccessibleInterface* radio = QAccessible::queryAccessibleInterface(rate500);
        radio->actionInterface()->doAction(radio->actionInterface()->actionNames().value(0));
        // The press is made from the event loop: let it come round.
        QCoreApplication::processEvents();
        trackMeanwhile = track->value();
        chosenMeanwhile = rate500->isChecked();
    }));

    QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);

    ASSERT_TRUE(interfered) << "the window's loop did not turn while the store waited";
    EXPECT_NE(trackMeanwhile, 2000) << "the value was set under the store";
    EXPECT_FALSE(chosenMeanwhile) << "the press was made under the store";
    EXPECT_TRUE(runEventsUntil([&] { return rate500->isChecked() && track->value() == 2000; }))
        << "a change asked for during the store was lost";
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 500);
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.CPIState[level].X, 2000);
}
