// The real main window with its pages and profile controls: what start-up
// shows, a profile switch from the profile strip on the emulated mouse, the
// one-sequence rule around it, and the pending desktop action on the
// window's clock.

#include "app/pages/ProfileControls.h"
#include "app/pages/SensitivityPage.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/TuiThread.h"
#include "profiles/PendingSystemAction.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/TrackBar.h"

#include "MainWindowFixture.h"
#include "QtEventLoop.h"

#include <QApplication>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace k4812;
using namespace k4812::test;

namespace {

class MainWindowPagesTest : public MainWindowFixture {
protected:
    TMOUSECONFIGINFO& config() { return dm->FCurrentProfileInfo().ConfigInfo; }
    std::uint8_t bankByte() { return emulator->mouse().state().memory.at(0x040); }

    QStringList journalLines() const
    {
        QFile file(env.path("pointer.journal"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

} // namespace

TEST_F(MainWindowPagesTest, StartUpShowsTheCurrentProfileOnEveryPage)
{
    // A profile unlike the defaults, so that a page left unfilled shows.
    config().CPIState[2].X = 2400;
    config().CPIState[2].Y = 2400;
    config().CPIState[3].Enabled = 0;
    config().CPILevel = 3;
    config().ReportRate = 1000;
    config().PointerSpeed = 15;
    config().VWheelSpeed = 7;

    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(control<NumberBox>(QStringLiteral("X%1").arg(i + 1).toLatin1().constData())->value(), config().CPIState[i].X);
        EXPECT_EQ(control<NumberBox>(QStringLiteral("Y%1").arg(i + 1).toLatin1().constData())->value(), config().CPIState[i].Y);
    }
    EXPECT_EQ(control<NumberBox>("X3")->value(), 2400);
    EXPECT_EQ(control<NumberBox>("NBCPILEVEL")->value(), 3);
    EXPECT_FALSE(control<NumberBox>("X4")->isEnabled());
    EXPECT_EQ(w.sensitivityPage()->selectedCpiLevel(), 1);
    EXPECT_EQ(control<TrackBar>("TrackBarCPIX")->value(), config().CPIState[1].X);
    EXPECT_TRUE(control<RadioButton>("RD1000HZ")->isChecked());
    EXPECT_EQ(control<TrackBar>("TrackBarPointerSpeed")->value(), 15);
    EXPECT_TRUE(control<RadioButton>("RDSCROLL")->isChecked());
    EXPECT_EQ(control<TrackBar>("TRACKBARSCROLLSPEED")->value(), 7);

    // Filled while initializing: nothing changed, nothing sent, nothing pending.
    EXPECT_FALSE(w.state().SettingsChanged);
    EXPECT_EQ(reportsSent(), 0u);
    EXPECT_FALSE(w.timerDoAction().isWaiting());
    EXPECT_EQ(config().ReportRate, 1000);
}

TEST_F(MainWindowPagesTest, AProfileButtonSwitchesTheMouseAndAllowsNoSecondSequenceMeanwhile)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    ASSERT_EQ(bankByte(), 0);

    // While the switch waits, the strip and Apply are disabled, and a second
    // switch asked for anyway starts nothing.
    bool checked = false;
    duringWait = [&] {
        if (checked)
            return;
        checked = true;
        EXPECT_FALSE(control("BSBTNAPPLY")->isEnabled());
        EXPECT_FALSE(control("BSBTNPROFILE2")->isEnabled());
        EXPECT_FALSE(control("C4")->isEnabled()) << "the light preview waits too";
        w.profileControls()->ProfileButtonClick(1);
    };
    QTest::mouseClick(control("BSBTNPROFILE3"), Qt::LeftButton);
    duringWait = nullptr;
    ASSERT_TRUE(checked) << "the switch paused";

    EXPECT_EQ(dm->FProfileIndex(), 2);
    EXPECT_EQ(bankByte(), 2);
    EXPECT_EQ(emulator->mouse().state().lastActivation, (std::array<std::uint8_t, 2>{1, 2}));
    EXPECT_TRUE(control("BSBTNPROFILE3")->isChecked());
    EXPECT_FALSE(control("BSBTNPROFILE1")->isChecked());
    EXPECT_TRUE(control("BSBTNPROFILE3")->isEnabled());
    EXPECT_TRUE(control("BSBTNAPPLY")->isEnabled());
    EXPECT_EQ(control<NumberBox>("X2")->value(), config().CPIState[1].X) << "the pages show the new profile";

    // The mode button: Mode 2 takes its own profile, the bank byte follows the mode.
    QTest::mouseClick(control("BSBTNMODE2"), Qt::LeftButton);
    EXPECT_EQ(dm->FProfileGroupIndex(), 1);
    EXPECT_EQ(bankByte(), 1);
    EXPECT_TRUE(control("BSBTNMODE2")->isChecked());
    EXPECT_FALSE(control("BSBTNMODE1")->isChecked());
    EXPECT_TRUE(dialogs.isEmpty()) << dialogs.join(QLatin1Char('\n')).toStdString();
}

TEST_F(MainWindowPagesTest, ResetAllAsksThroughTheWindowsDialogAndSendsNothing)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    config().PointerSpeed = 18;
    const std::size_t before = reportsSent();
    answers.push_back(1);
    QTest::mouseClick(control("BSBTNRESETALL"), Qt::LeftButton);
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_TRUE(dialogs[0].startsWith(QLatin1String("Reset This Profile|"))) << dialogs[0].toStdString();
    EXPECT_NE(config().PointerSpeed, 18);
    EXPECT_EQ(control<TrackBar>("TrackBarPointerSpeed")->value(), config().PointerSpeed) << "pages refilled";
    EXPECT_TRUE(w.state().SettingsChanged);
    EXPECT_EQ(reportsSent(), before);
}

TEST_F(MainWindowPagesTest, ThePendingDesktopActionWaitsOnTheWindowsClock)
{
    env.set("K4812_POINTER_SETTINGS", QStringLiteral("journal:") + env.path("pointer.journal"));
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    auto* speed = control<TrackBar>("TrackBarPointerSpeed");
    speed->setValue(4);
    clock.advance(300);
    speed->setValue(9);
    clock.advance(kSystemActionDelay - 1);
    EXPECT_TRUE(journalLines().isEmpty()) << "each move starts the wait again";
    EXPECT_TRUE(w.timerDoAction().isWaiting());
    clock.advance(1);
    EXPECT_FALSE(w.timerDoAction().isWaiting());
    // The desktop's change runs on a worker, with the busy cursor until it ends.
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    TuiThread::waitForAll();
    EXPECT_EQ(journalLines(), QStringList{"SPI_SETMOUSESPEED 9"});
    EXPECT_TRUE(runEventsUntil([] { return QApplication::overrideCursor() == nullptr; }));
    clock.advance(kSystemActionDelay);
    TuiThread::waitForAll();
    EXPECT_EQ(journalLines().size(), 1);
}

// The System Setting page shows, from the back end in use, which settings
// this desktop cannot take: those controls are disabled and say why, and
// their values are still loaded from the profile.
TEST_F(MainWindowPagesTest, WhatTheDesktopCannotApplyIsDisabledWithItsReason)
{
    const char* doubleClick = "TrackBarDoubleClickSpeed";
    const char* speed = "TrackBarPointerSpeed";
    const char* precision = "CHKENHANCEPOINTER";
    const std::vector<const char*> scroll = {"RDSCROLL", "TRACKBARSCROLLSPEED", "RDSCROLLONEPAGE"};
    struct Case {
        QString backEnd;
        std::vector<const char*> disabled;
    };
    std::vector<const char*> x11 = scroll;
    x11.insert(x11.end(), {doubleClick, speed});
    std::vector<const char*> none = x11;
    none.push_back(precision);
    const Case cases[] = {
        {QStringLiteral("gnome"), scroll},
        {QStringLiteral("x11"), x11},
        {QStringLiteral("journal:") + env.path("pointer.journal"), {}},
        {QStringLiteral("none"), none},
    };
    for (const Case& c : cases) {
        env.set("K4812_POINTER_SETTINGS", c.backEnd);
        config().VWheelSpeed = 7;
        dm->SaveBackToCurrentProfileInfo();
        TK4812CfgMain& w = open();
        ASSERT_TRUE(started);
        for (const char* name : {doubleClick, speed, precision, scroll[0], scroll[1], scroll[2]}) {
            auto* widget = control<QWidget>(name);
            ASSERT_NE(widget, nullptr);
            const bool disabled = std::find(c.disabled.begin(), c.disabled.end(), name) != c.disabled.end();
            const std::string what = c.backEnd.toStdString() + ": " + name;
            EXPECT_EQ(widget->isEnabled(), !disabled) << what;
            EXPECT_EQ(widget->toolTip().isEmpty(), !disabled) << what;
            EXPECT_EQ(widget->accessibleDescription(), widget->toolTip()) << what;
        }
        EXPECT_EQ(control<TrackBar>("TRACKBARSCROLLSPEED")->value(), 7) << c.backEnd.toStdString() << ": still loaded";
        EXPECT_EQ(config().VWheelSpeed, 7) << c.backEnd.toStdString() << ": still in the profile";
        w.close();
        window.reset();
    }
}

TEST_F(MainWindowPagesTest, TheMonitorsReloadTakesTheStoredProfileButLeavesThePagesAsTheyWere)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    const int shown = config().PointerSpeed;
    const int stored = shown == 18 ? 17 : 18;
    // The monitor program stored another pointer speed for the current profile.
    config().PointerSpeed = std::uint16_t(stored);
    dm->SaveBackToCurrentProfileInfo();
    ASSERT_TRUE(dm->SaveCurrentProfileInfoToRegistry());
    config().PointerSpeed = std::uint16_t(shown);
    dm->SaveBackToCurrentProfileInfo();

    EXPECT_EQ(w.handleWindowMessage(UM_RELOAD_PROFILE), 0);
    EXPECT_EQ(config().PointerSpeed, stored);
    EXPECT_EQ(control<TrackBar>("TrackBarPointerSpeed")->value(), shown) << "not refilled until the next fill";
    EXPECT_EQ(reportsSent(), 0u);
    EXPECT_TRUE(dialogs.isEmpty());
}

// The monitor switched the mode, or the profile of the active mode, while the
// window was open: on 7038 the window takes the stored choice as its own
// switch would (buttons, pages, the record its next save writes), and the
// mouse hears nothing from the window.
TEST_F(MainWindowPagesTest, TheMonitorsReloadAfterItsSwitchShowsTheStoredModeAndProfile)
{
    struct Case {
        const char* what;
        int mode;      // the stored mode
        int profile;   // the profile the stored mode is bound to
    };
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    ASSERT_EQ(dm->FProfileGroupIndex(), 0);
    for (const Case& c : {Case{"the other mode", 1, 3}, Case{"another profile for the active mode", 1, 4},
                          Case{"back to Mode 1", 0, 2}}) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(dm->FProfileIndex(), c.profile);
        // What the monitor stored: the mode, its profile, and that profile's own pointer speed.
        TMOUSEPROFILEINFO stored{};
        ASSERT_TRUE(dm->ReadProfileInfo(stored, c.profile));
        const int speed = config().PointerSpeed == 4 ? 5 : 4;
        stored.ConfigInfo.PointerSpeed = std::uint16_t(speed);
        ASSERT_TRUE(dm->SaveBackToProfileInfo(stored, c.profile));
        ASSERT_TRUE(dm->SaveProfileInfoToRegistry(c.profile));
        TProfileSettingGroup& group = dm->FProfileSettingGroup();
        const TProfileSettingGroup shown = group;
        group.CurrentProfileGroup = c.mode;
        group.ProfileIndexOfProfileGroup[c.mode] = c.profile;
        ASSERT_TRUE(dm->SaveProfileGroupSettingInfoToRegistry());
        group = shown;
        dm->SaveBackToProfileGroupSettingInfo();
        const std::size_t sent = reportsSent();

        EXPECT_EQ(w.handleWindowMessage(UM_RELOAD_PROFILE), 0);
        EXPECT_EQ(dm->FProfileGroupIndex(), c.mode);
        EXPECT_EQ(dm->FProfileIndex(), c.profile);
        EXPECT_EQ(dm->FAllProfileSettingInfo().CurrentGame, c.profile);
        EXPECT_TRUE(control(c.mode == 0 ? "BSBTNMODE1" : "BSBTNMODE2")->isChecked());
        EXPECT_FALSE(control(c.mode == 0 ? "BSBTNMODE2" : "BSBTNMODE1")->isChecked());
        EXPECT_TRUE(control(QStringLiteral("BSBTNPROFILE%1").arg(c.profile + 1).toLatin1().constData())->isChecked());
        // Copies: the records are packed, and EXPECT_EQ binds references.
        EXPECT_EQ(int(config().PointerSpeed), speed);
        EXPECT_EQ(control<TrackBar>("TrackBarPointerSpeed")->value(), speed) << "the pages show the new profile";
        EXPECT_EQ(int(w.state().SystemMouseParams.PointerSpeed), speed) << "the next apply hands on the new profile's";
        EXPECT_EQ(reportsSent(), sent);
        EXPECT_TRUE(dialogs.isEmpty()) << dialogs.join(QLatin1Char('\n')).toStdString();
    }
}

TEST_F(MainWindowPagesTest, APresetFromTheProgramFolderFillsThePages)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    const std::vector<std::uint8_t> memory = emulator->mouse().state().memory;
    w.profileControls()->PresetItemClick(ProfileControls::RealTimeStrategy);
    EXPECT_TRUE(dialogs.isEmpty()) << dialogs.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(control<NumberBox>("NBCPILEVEL")->value(), 3);
    EXPECT_EQ(control<NumberBox>("X2")->value(), 1200);
    EXPECT_EQ(control<NumberBox>("X3")->value(), 2100);
    EXPECT_TRUE(control<RadioButton>("RD500HZ")->isChecked());
    EXPECT_EQ(config().ReportRate, 500);
    EXPECT_EQ(config().LEDConfig.G, 255);
    EXPECT_EQ(config().LEDConfig.B, 64);
    // The refilled light track shows its new speed on the mouse; its memory
    // takes the preset with the next apply.
    EXPECT_TRUE(emulator->mouse().state().memory == memory);
}
