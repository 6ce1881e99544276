// k4812ctl apply, set, switch and macro import against an emulated mouse
// kept in a state file, with the pauses recorded instead of slept.

#include "CliPauser.h"
#include "CliTestSupport.h"
#include "RecordingPauser.h"
#include "TestEnvironment.h"

#include "macros/MacroName.h"
#include "emulator/EmulatorStateFile.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "profiles/ProfileManager.h"
#include "records/RecordBytes.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::RecordingPauser;
using k4812::test::runCtl;
using k4812::test::TestEnvironment;

namespace {

class VerbApply : public ::testing::Test {
protected:
    VerbApply()
    {
        env.set("K4812_POINTER_SETTINGS", QStringLiteral("journal:") + env.path("journal.txt"));
        env.set("K4812_EMULATOR_FAULTS", QString());
        env.set("LC_ALL", QStringLiteral("en_US.UTF-8"));
        cli::setCliPauser(&pauser);
    }
    ~VerbApply() override { cli::setCliPauser(nullptr); }

    test::CliResult ctl(QStringList args)
    {
        args.prepend(QStringLiteral("--trace=") + env.path("trace.txt"));
        args.prepend(QStringLiteral("--device=emulator:") + state());
        return runCtl(args);
    }
    QString state() const { return env.path("emu/mouse.state"); }
    QStringList lines(const QString& file) const
    {
        return QString::fromUtf8(readFile(file)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    EmulatorState stored()
    {
        QString error;
        auto loaded = loadEmulatorState(state(), error);
        EXPECT_TRUE(loaded) << error.toStdString();
        return loaded.value_or(EmulatorState::initial());
    }
    // The stored current profile, as the next start of any program sees it.
    std::unique_ptr<TMOUSEPROFILEINFO> currentProfile()
    {
        TDM dm;
        return std::make_unique<TMOUSEPROFILEINFO>(dm.FCurrentProfileInfo());
    }
    QString writeMacroFile(const QString& name, int actions)
    {
        auto macro = makeZeroRecord<TMACROKEYINFO>();
        setMacroName(*macro, name);
        macro->Version = 259;
        macro->MacroListCount = actions;
        for (int i = 0; i < actions; ++i)
            macro->MacroList[i] = TMACROKEY{4, std::uint16_t(i % 2 == 0 ? 1 : 0), 65, 0};
        const QString file = env.path(name + QStringLiteral(".macro"));
        EXPECT_TRUE(test::writeFile(file, recordToBytes(*macro)));
        return file;
    }

    TestEnvironment env;
    RecordingPauser pauser;
};

} // namespace

TEST_F(VerbApply, ApplyWritesBothModesAndTheEmulatorDescribesThem)
{
    const auto result = ctl({"apply"});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    EXPECT_EQ(result.out.count(QStringLiteral(": done\n")), 15) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("Button settings of Mode 2: done"));
    EXPECT_TRUE(result.out.contains("The mouse took every setting."));
    EXPECT_TRUE(result.out.contains("Active CPI level: 2 (as the mouse had it)")) << result.out.toStdString();
    // The sequence's fixed pauses (500 ms); the pause after reading back
    // what it wrote is left to the mouse's next command.
    EXPECT_EQ(pauser.total(), 500);
    EXPECT_EQ(lines(env.path("journal.txt")),
              (QStringList{"SPI_SETMOUSE 0 0 0", "SPI_SETMOUSESPEED 10", "SPI_SETWHEELSCROLLLINES 3"}))
        << "the pointer settings' worker finished before the verb returned";
    EXPECT_EQ(lines(env.path("trace.txt")).size(), 18 + 6)
        << "16 reports sent, 2 answers fetched, then 3 reads of what was written (request and answer each)";

    const QString shown = ctl({"emulator", "show"}).out;
    for (const char* line : {"active bank: 0 (byte 00)\n", "report rate: bank 0 500 Hz, bank 1 500 Hz (byte 22)\n",
                             "wheel light: on, wheel value 1 (byte 81)\n", "last activation: 01 00\n"})
        EXPECT_TRUE(shown.contains(QLatin1String(line))) << line << "\n" << shown.toStdString();
    // Both banks hold the default profile.
    for (const char* line : {"    3: (window button 5) Forward\n", "    7: Eighth Button\n",
                             "    level 2: 1700 (code 4) CPI\n",
                             "  light: R 0 G 0 B 255, brightness 1, breathing speed 1, breath second 0\n",
                             "    block 4: unused\n", "  cpi: 4 levels, active level 1\n"})
        EXPECT_EQ(shown.count(QLatin1String(line)), 2) << line << "\n" << shown.toStdString();
}

TEST_F(VerbApply, WhatTheMouseDidNotKeepIsNamedAndNoVerifyLeavesTheCheckOut)
{
    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("corrupt=7"));   // bank 0's macro block
    const auto checked = ctl({"apply"});
    EXPECT_EQ(checked.status, cli::kExitFailure);
    EXPECT_TRUE(checked.out.contains("Read back: not kept: ")) << checked.out.toStdString();
    EXPECT_TRUE(checked.err.contains("The mouse did not keep these settings")) << checked.err.toStdString();

    env.set("K4812_EMULATOR_FAULTS", QStringLiteral(""));
    const auto kept = ctl({"apply"});
    ASSERT_EQ(kept.status, 0) << kept.err.toStdString();
    EXPECT_TRUE(kept.out.contains("Read back: the mouse kept every setting.\n")) << kept.out.toStdString();

    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("corrupt=7"));
    const QStringList before = lines(env.path("trace.txt"));
    const auto unchecked = ctl({"apply", "--no-verify"});
    EXPECT_EQ(unchecked.status, 0) << unchecked.err.toStdString();
    EXPECT_FALSE(unchecked.out.contains("Read back")) << unchecked.out.toStdString();
    EXPECT_EQ(lines(env.path("trace.txt")).size() - before.size(), 18) << "the sequence alone, nothing read back";
}

TEST_F(VerbApply, MouseReadShowsStoresAndExportsWhatAModeHolds)
{
    ASSERT_EQ(ctl({"set", "--apply", "rate", "1000"}).status, 0);

    const auto shown = ctl({"mouse", "read", "--mode", "1"});
    ASSERT_EQ(shown.status, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains("Report rate: 1000 Hz")) << shown.out.toStdString();
    const auto json = ctl({"mouse", "read", "--mode", "2", "--json"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_TRUE(json.out.contains("\"reportRate\": 500")) << json.out.toStdString();

    // Profile 3 still has the factory rate; read into it, it has the mouse's.
    const auto into = ctl({"mouse", "read", "--mode", "1", "--into", "3"});
    ASSERT_EQ(into.status, 0) << into.err.toStdString();
    EXPECT_TRUE(ctl({"profile", "show", "3"}).out.contains("Report rate: 1000 Hz"));

    const QString file = env.path("mode1.pfd");
    ASSERT_EQ(ctl({"mouse", "read", "--export", file}).status, 0);
    const auto imported = ctl({"profile", "import", "5", file});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_TRUE(ctl({"profile", "show", "5"}).out.contains("Report rate: 1000 Hz"));
}

TEST_F(VerbApply, MouseReadThatFailsOrIsMisusedChangesNothing)
{
    const auto before = ctl({"profile", "show", "2", "--json"}).out;
    struct Case {
        const char* faults;
        QStringList args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"absent", {"mouse", "read", "--into", "2"}, cli::kExitFailure, ""},
        {"unplug=0", {"mouse", "read", "--into", "2"}, cli::kExitFailure, "could not be read from the mouse"},
        {"", {"mouse", "read", "--mode", "3", "--into", "2"}, cli::kExitUsage, "the mode must be a number"},
        {"", {"mouse", "read", "--into", "6"}, cli::kExitUsage, "the profile must be a number"},
        {"", {"mouse", "write"}, cli::kExitUsage, "mouse needs read"},
    };
    for (const Case& c : cases) {
        env.set("K4812_EMULATOR_FAULTS", QString::fromLatin1(c.faults));
        const auto result = ctl(c.args);
        EXPECT_EQ(result.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(QLatin1String(c.message))) << result.err.toStdString();
        env.set("K4812_EMULATOR_FAULTS", QString());
        EXPECT_EQ(ctl({"profile", "show", "2", "--json"}).out, before) << c.args.join(' ').toStdString();
    }
}

TEST_F(VerbApply, WithoutTheMouseTheProfilesAreStoredAndNothingIsSent)
{
    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("absent"));
    ASSERT_EQ(ctl({"set", "rate", "250"}).status, 0);
    const auto result = ctl({"apply"});
    EXPECT_EQ(result.status, cli::kExitFailure);
    EXPECT_TRUE(result.err.contains("k4812ctl: Warning: Please connect your mouse device before apply new settings!"))
        << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("The profiles were stored; nothing was sent to the mouse."));
    EXPECT_TRUE(lines(env.path("trace.txt")).isEmpty());
    EXPECT_TRUE(pauser.pauses.empty());
    EXPECT_EQ(lines(env.path("journal.txt")).size(), 3);
    EXPECT_EQ(currentProfile()->ConfigInfo.ReportRate, 250);
}

TEST_F(VerbApply, AMouseUnpluggedHalfWayIsReportedWithTheStepThatFailed)
{
    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("unplug=8"));   // exchange 9: bank 0's CPI block
    const auto result = ctl({"apply"});
    EXPECT_EQ(result.status, cli::kExitFailure);
    EXPECT_TRUE(result.out.contains("  Light of Mode 1: done\n")) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("  CPI levels of Mode 1: failed: No such device\n"));
    EXPECT_TRUE(result.out.contains("  End of the update: failed: No such device\n")) << "every step was tried";
    EXPECT_TRUE(result.out.contains("The mouse did not take every setting."));
    EXPECT_TRUE(result.err.contains("Warning: The settings could not all be written to the mouse. Failed step: "
                                    "CPI levels of Mode 1"))
        << result.err.toStdString();
    EXPECT_EQ(pauser.total(), 500);
}

TEST_F(VerbApply, AnUnreadableCpiLevelIsANoteAndTheApplySucceeds)
{
    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("fail=3"));   // the answer with the selection byte
    const auto result = ctl({"apply"});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("  Reading the active CPI level: failed: Input/output error\n"))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("Note: The mouse's active CPI level could not be read; level 1 is now active."))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("Active CPI level: 1 (the mouse's level could not be read)"))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("The mouse took every setting.")) << result.out.toStdString();
    EXPECT_FALSE(result.err.contains("could not all be written")) << result.err.toStdString();
    EXPECT_EQ(ctl({"emulator", "show"}).out.count(QStringLiteral("  cpi: 4 levels, active level 0\n")), 1)
        << "bank 0, the current profile's, has its first level active";
}

TEST_F(VerbApply, TheWarningIsShownInTheStoredLanguage)
{
    env.set("K4812_PROGRAM_DIR", QStringLiteral(K4812_BIN_DIR));   // the built ui.local
    ASSERT_EQ(runCtl({"language", "set", "0804"}).status, 0);
    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("absent"));
    EXPECT_TRUE(ctl({"apply"}).err.contains(QString::fromUtf8("k4812ctl: 警告: 请先连接鼠标，再应用新设置！")));

    ASSERT_EQ(runCtl({"language", "set", "0404"}).status, 0);
    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("fail=12"));   // bank 1's light block
    EXPECT_TRUE(ctl({"apply"}).err.contains(QString::fromUtf8("設定未能全部寫入滑鼠。失敗的步驟：模式 2 的燈光")));
}

TEST_F(VerbApply, TheMonitorProgramIsToldAtTheEndOfAnApply)
{
    QProcess monitor;
    monitor.start(QStringLiteral(K4812_BIN_DIR "/REvo2"),
                  {QStringLiteral("--stay"), QStringLiteral("--log"), env.path("monitor.log")});
    ASSERT_TRUE(monitor.waitForStarted(5000));
    ASSERT_TRUE(monitor.waitForReadyRead(5000));
    ASSERT_EQ(QString::fromUtf8(monitor.readLine()).trimmed(), "listening as TK4812MonMain");

    const auto result = ctl({"apply"});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("Monitor program: told of the new settings")) << result.out.toStdString();

    QString received;
    const QDeadlineTimer deadline(5000);
    while (received.isEmpty() && !deadline.hasExpired() && monitor.waitForReadyRead(int(deadline.remainingTime())))
        received = QString::fromUtf8(monitor.readLine()).trimmed();
    EXPECT_EQ(received, "received UM_DEVICE_SETTINGS_CHANGED (7035) wParam=0 lParam=0");
    monitor.terminate();
    EXPECT_TRUE(monitor.waitForFinished(5000));
}

TEST_F(VerbApply, SetChangesTheCurrentProfileAsThePagesDo)
{
    struct Case {
        QStringList args;
        std::function<bool(const TMOUSECONFIGINFO&)> holds;
    };
    using Config = const TMOUSECONFIGINFO&;
    const Case cases[] = {
        {{"cpi", "3", "1600"},
         [](Config c) { return c.CPIState[2].X == 1600 && c.CPIState[2].Y == 1600 && c.HWCPIState[2].X == 1700; }},
        {{"different-xy", "on"}, [](Config c) { return c.ApplyDiffirentXY == 1; }},
        {{"cpi", "2", "400", "3500"},
         [](Config c) { return c.CPIState[1].X == 400 && c.CPIState[1].Y == 3500 && c.HWCPIState[1].Y == 3400; }},
        {{"cpi-levels", "2"}, [](Config c) { return c.CPILevel == 2 && c.CPIState[2].Enabled == 0; }},
        {{"rate", "1000"}, [](Config c) { return c.ReportRate == 1000; }},
        {{"light", "off"}, [](Config c) { return c.WheelLedOnOff == 0 && c.LEDConfig.BRIGHT_LEVEL == 0; }},
        {{"color", "3", "97", "96"},
         [](Config c) { return c.LEDConfig.R == 3 && c.LEDConfig.G == 97 && c.LEDConfig.B == 96; }},
        {{"breathing", "3"}, [](Config c) { return c.LEDConfig.BREATH_SPEED == 3; }},
        {{"button", "4", "key", "F5"},
         [](Config c) {
             return c.ButtonFuncInfo[3].DeviceCode == 0x10 && c.ButtonFuncInfo[3].SingleKeyInfo.nKeyValue1 == 116;
         }},
        {{"button", "3", "combo", "ctrl+shift+a"},
         [](Config c) {
             const TCOMBOKEYINFO combo = c.ButtonFuncInfo[2].ComboKeyInfo;
             return combo.nModifier == 6 && combo.nKeyValue1 == 65;
         }},
        {{"button", "5", "play-pause"}, [](Config c) { return c.ButtonFuncInfo[4].MediaKeyInfo.nKeyValue1 == 0xCD; }},
        {{"button", "1", "right-click"},
         [](Config c) { return c.ButtonFuncInfo[0].DeviceCode == 2 && c.ButtonFuncInfo[1].DeviceCode == 1; }},
        {{"button", "6", "fire", "3", "6"},
         [](Config c) {
             return c.ButtonFuncInfo[5].DeviceCode == 0x12 && c.ButtonFuncInfo[5].FireKeyInfo.nLoopCount == 3;
         }},
        {{"button", "7", "dpi-"}, [](Config c) { return c.ButtonFuncInfo[6].DeviceCode == 0x0A; }},
        {{"button", "7", "disable"}, [](Config c) { return c.ButtonFuncInfo[6].FunctionIndex == 33; }},
        {{"pointer-speed", "17"}, [](Config c) { return c.PointerSpeed == 17; }},
        {{"enhanced-precision", "off"}, [](Config c) { return c.PointerAcceleration == 0; }},
        {{"enhanced-precision", "on"}, [](Config c) { return c.PointerAcceleration == 1; }},
        {{"double-click", "200"}, [](Config c) { return c.DoubleClickSpeed == 200; }},
        {{"double-click", "900"}, [](Config c) { return c.DoubleClickSpeed == 900; }},
        {{"wheel-lines", "7"}, [](Config c) { return c.VWheelSpeed == 7; }},
        {{"wheel-lines", "page"}, [](Config c) { return c.VWheelSpeed == 20; }},
    };
    for (const Case& c : cases) {
        const auto result = ctl(QStringList{"set"} + c.args);
        ASSERT_EQ(result.status, 0) << c.args.join(' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_TRUE(result.out.startsWith("Profile 1: ")) << result.out.toStdString();
        EXPECT_TRUE(c.holds(currentProfile()->ConfigInfo)) << c.args.join(' ').toStdString();
    }
    EXPECT_TRUE(lines(env.path("trace.txt")).isEmpty()) << "without --apply the mouse is not touched";
}

TEST_F(VerbApply, RefusedSettingsChangeNothing)
{
    const QString profileFile = env.path("Documents/Gaming Mouse Profiles/Profile1.pfd");
    ASSERT_EQ(ctl({"set", "rate", "500"}).status, 0);
    const QByteArray before = readFile(profileFile);
    struct Case {
        QStringList args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"cpi", "5", "800"}, cli::kExitUsage, "CPI level must be 1 to 4"},
        {{"cpi", "1", "50"}, cli::kExitUsage, "100 to 3500"},
        {{"cpi", "1", "400", "800"}, cli::kExitFailure, "different-xy on"},
        {{"cpi-levels", "0"}, cli::kExitUsage, "1 to 4"},
        {{"rate", "300"}, cli::kExitUsage, "125, 250, 500 or 1000"},
        {{"color", "1", "2"}, cli::kExitUsage, "red, green and blue"},
        {{"color", "1", "2", "256"}, cli::kExitUsage, "0 to 255"},
        {{"breathing", "0"}, cli::kExitUsage, "1 (low) to 3 (high)"},
        {{"light", "dim"}, cli::kExitUsage, "on or off"},
        {{"button", "1", "key", "a"}, cli::kExitFailure, "buttons 1 and 2 take only click and right-click"},
        {{"button", "8", "click"}, cli::kExitUsage, "1 to 7"},
        {{"button", "3", "key", "NOPE"}, cli::kExitUsage, "no key is named \"NOPE\""},
        {{"button", "3", "key", "BROWSER_BACK"}, cli::kExitUsage, "cannot send the key"},
        {{"button", "3", "combo", "ctrl+shift"}, cli::kExitUsage, "one or two keys"},
        {{"button", "3", "fire", "0", "5"}, cli::kExitUsage, "count (1 to 255)"},
        {{"button", "3", "macro", "Nothing"}, cli::kExitFailure, "no macro named \"Nothing\""},
        {{"button", "3", "frobnicate"}, cli::kExitUsage, "unknown function"},
        {{"volume", "3"}, cli::kExitUsage, "unknown setting"},
        {{"pointer-speed", "21"}, cli::kExitUsage, "1 (slowest) to 20 (fastest)"},
        {{"pointer-speed", "0"}, cli::kExitUsage, "1 (slowest) to 20 (fastest)"},
        {{"enhanced-precision", "yes"}, cli::kExitUsage, "on or off"},
        {{"double-click", "190"}, cli::kExitUsage, "200 to 900 ms in steps of 10"},
        {{"double-click", "505"}, cli::kExitUsage, "200 to 900 ms in steps of 10"},
        {{"wheel-lines", "11"}, cli::kExitUsage, "1 to 10 lines, or page"},
        {{"wheel-lines", "0"}, cli::kExitUsage, "1 to 10 lines, or page"},
    };
    for (const Case& c : cases) {
        const auto result = ctl(QStringList{"set"} + c.args);
        EXPECT_EQ(result.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(QLatin1String(c.message))) << result.err.toStdString();
    }
    EXPECT_EQ(readFile(profileFile), before);
}

TEST_F(VerbApply, SetWithApplyHandsTheSystemSettingsToTheDesktop)
{
    ASSERT_EQ(ctl({"set", "pointer-speed", "4"}).status, 0);
    ASSERT_EQ(ctl({"set", "wheel-lines", "page"}).status, 0);
    const auto result = ctl({"set", "--apply", "enhanced-precision", "off"});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(lines(env.path("journal.txt")),
              QStringList({"SPI_SETMOUSE 0 0 0", "SPI_SETMOUSESPEED 4", "SPI_SETWHEELSCROLLLINES 20"}));
}

TEST_F(VerbApply, DevicesNamesWhereThePointerSettingsGo)
{
    const auto result = ctl({"devices"});
    EXPECT_TRUE(result.out.contains("Desktop pointer settings: journal\n")) << result.out.toStdString();
}

TEST_F(VerbApply, SetWithApplyWritesTheMouseToo)
{
    const auto result = ctl({"set", "--apply", "rate", "1000"});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(stored().memory[0x045], 0x21) << "Mode 1 at 1000 Hz, Mode 2 at 500 Hz";
    EXPECT_EQ(pauser.total(), 500) << "the apply's pauses; the read-back's is left to the next command";
}

TEST_F(VerbApply, AnImportedMacroCanBePutOnAButtonAndReachesTheMouse)
{
    const QString file = writeMacroFile(QStringLiteral("Reload"), 4);
    const auto imported = ctl({"macro", "import", file});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains("macro 1 is \"Reload\" (4 actions)")) << imported.out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(env.path("Documents/Gaming Mouse Profiles/Profile1_Macros/Reload.macro")));
    EXPECT_EQ(currentProfile()->MacroKeyInfoList.nMacroInfoCount, 1);

    const auto again = ctl({"macro", "import", file});
    EXPECT_EQ(again.status, cli::kExitFailure);
    EXPECT_TRUE(again.err.contains("has a macro named \"Reload\" already"));
    EXPECT_EQ(currentProfile()->MacroKeyInfoList.nMacroInfoCount, 1);

    ASSERT_EQ(ctl({"set", "--apply", "button", "3", "macro", "Reload"}).status, 0);
    EXPECT_TRUE(ctl({"emulator", "show"}).out.contains("    block 0: 12 bytes, 4 actions"));
}

TEST_F(VerbApply, MacroImportStopsAtTwentyMacros)
{
    {
        TDM dm;
        TMACROKEYINFOLIST& list = dm.FCurrentProfileInfo().MacroKeyInfoList;
        for (int i = 0; i < 20; ++i)
            setMacroName(list.MacroInfos[i], QStringLiteral("M%1").arg(i));
        list.nMacroInfoCount = 20;
        dm.SaveBackToCurrentProfileInfo();
        ASSERT_TRUE(dm.SaveCurrentProfileInfoToFile());
    }
    const auto result = ctl({"macro", "import", writeMacroFile(QStringLiteral("Extra"), 2)});
    EXPECT_EQ(result.status, cli::kExitFailure);
    EXPECT_TRUE(result.err.contains("holds 20 macros")) << result.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(env.path("Documents/Gaming Mouse Profiles/Profile1_Macros/Extra.macro")));
}

TEST_F(VerbApply, SwitchDoesWhatTheProfileAndModeButtonsDo)
{
    const auto profile = ctl({"switch", "profile", "3"});
    ASSERT_EQ(profile.status, 0) << profile.err.toStdString();
    EXPECT_TRUE(profile.out.contains("Profile 3 is current, in Mode 1")) << profile.out.toStdString();
    EXPECT_EQ(stored().memory[0x040], 2);
    EXPECT_EQ(stored().lastActivation, (std::array<std::uint8_t, 2>{1, 2}));
    EXPECT_EQ(pauser.total(), 300);
    {
        TDM dm;
        EXPECT_EQ(dm.FProfileIndex(), 2);
        EXPECT_EQ(dm.FProfileSettingGroup().ProfileIndexOfProfileGroup[0], 2);
    }

    const auto mode = ctl({"switch", "mode", "2"});
    ASSERT_EQ(mode.status, 0) << mode.err.toStdString();
    EXPECT_TRUE(mode.out.contains("Profile 2 is current, in Mode 2")) << mode.out.toStdString();
    EXPECT_EQ(stored().memory[0x040], 1);
    EXPECT_EQ(stored().lastActivation, (std::array<std::uint8_t, 2>{1, 1}));

    const int reports = int(lines(env.path("trace.txt")).size());
    const auto same = ctl({"switch", "mode", "2"});
    EXPECT_EQ(same.status, 0);
    EXPECT_TRUE(same.out.contains("active already"));
    EXPECT_EQ(lines(env.path("trace.txt")).size(), reports) << "nothing sent";

    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("absent"));
    const auto absent = ctl({"switch", "mode", "1"});
    EXPECT_EQ(absent.status, cli::kExitFailure);
    EXPECT_TRUE(absent.err.contains("the mouse did not take the switch")) << absent.err.toStdString();
    EXPECT_EQ(TDM().FProfileGroupIndex(), 0) << "the stores keep the choice";

    for (const QStringList& bad : {QStringList{"switch"}, QStringList{"switch", "profile", "6"},
                                   QStringList{"switch", "mode", "0"}, QStringList{"switch", "bank", "1"}})
        EXPECT_EQ(ctl(bad).status, cli::kExitUsage) << bad.join(' ').toStdString();
}

// The desktop's part of an apply counts: a pointer setting the desktop could
// not take fails the command, even though the mouse took everything.
TEST_F(VerbApply, PointerSettingsTheDesktopCouldNotTakeFailTheCommand)
{
    env.set("K4812_POINTER_SETTINGS", QStringLiteral("journal:") + env.path("no-such-folder/journal.txt"));
    const auto result = ctl({"set", "--apply", "pointer-speed", "15"});
    EXPECT_EQ(result.status, cli::kExitFailure);
    EXPECT_TRUE(result.out.contains("The mouse took every setting.")) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("The desktop did not take: acceleration, pointer speed, wheel scroll lines."))
        << result.out.toStdString();
}
