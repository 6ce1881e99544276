#include "sequences/ApplySequence.h"
#include "sequences/MouseReadBack.h"
#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"
#include "i18n/Translation.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/TuiThread.h"
#include "platform/desktop/WindowEndpoint.h"
#include "records/RecordBytes.h"

#include "EmulatedMouse.h"
#include "RecordingHost.h"
#include "TestEnvironment.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>

#include <cstring>

using namespace k4812;
using k4812::test::Bytes;
using k4812::test::EmulatedMouse;
using k4812::test::RecordingHost;
using k4812::test::RecordingPauser;

namespace {

// One report of the mouse's log as the test expects it.
struct Report {
    bool set;
    std::uint8_t id;
    std::size_t length;     // report length including the ID
    std::uint8_t command;   // sets only
    std::uint16_t address;  // memory commands; p1, p2 of the others
    Bytes payload;          // a write's bytes; p1 ... p5 of the others; nothing for reads

    bool operator==(const Report&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Report& r)
{
    os << (r.set ? "set " : "get ") << int(r.id) << '/' << r.length;
    if (r.set) {
        os << " cmd " << int(r.command) << " @" << std::hex << r.address << " [";
        for (std::uint8_t b : r.payload)
            os << ' ' << int(b);
        os << " ]" << std::dec;
    }
    return os;
}

Report write(std::uint16_t address, Bytes payload)
{
    const std::size_t length = ReportLength(ReportIdForLength(payload.size() + 8));
    return {true, ReportIdForLength(payload.size() + 8), length, kCommandWriteMemory, address, std::move(payload)};
}

Report command(std::uint8_t code, Bytes params)
{
    const std::uint16_t p = std::uint16_t(params[0] | params[1] << 8);
    return {true, 2, 16, code, p, std::move(params)};
}

std::vector<Report> read(std::uint16_t address, std::size_t length)
{
    const std::uint8_t answerId = ReportIdForLength(length + 8);
    return {{true, 2, 16, kCommandReadMemory, address, {}}, {false, answerId, ReportLength(answerId), 0, 0, {}}};
}

Bytes defaultButtonBlock()
{
    Bytes block(kButtonBlockSize, 0);
    const Bytes entries = {8, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 5, 0, 0, 0, 4, 0, 0, 0, 9, 0, 0, 0, 10, 0, 0, 0,
                           13, 0, 0, 0};
    std::copy(entries.begin(), entries.end(), block.begin());
    return block;
}

Bytes defaultCpiBlock(std::uint8_t activeLevel)
{
    Bytes block(kCpiBlockSize, 0);
    const Bytes head = {4, activeLevel, 1, 1, 1, 1, 2, 2, 1, 4, 4, 1, 8, 8};
    std::copy(head.begin(), head.end(), block.begin());
    return block;
}

const Bytes kDefaultLight = {0xFF, 0x00, 0xFF, 0x01, 0x01, 0x00};

bool sameLight(const TLEDCONFIG& a, const TLEDCONFIG& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class ApplySequenceTest : public ::testing::Test {
protected:
    ApplySequenceTest()
        : host([this] { return emulated.logSize(); }, env.path("journal.txt")), dm(std::make_unique<TDM>())
    {
        state.SettingsChanged = true;
        state.SystemMouseParams = SystemMouseParamsOf(dm->FCurrentProfileInfo());
    }
    ~ApplySequenceTest() override { clearActiveTranslation(); }

    bool apply()
    {
        const bool applied = ApplySettings(*dm, *emulated.hid, state, host, &report);
        TuiThread::waitForAll(); // the pointer settings' worker
        return applied;
    }

    // The mouse's log in the form of Report.
    std::vector<Report> log()
    {
        std::vector<Report> result;
        for (const MouseEmulator::LogEntry& e : emulated.mouse().log()) {
            const Bytes& r = e.report;
            if (e.kind == MouseEmulator::LogEntry::Get) {
                result.push_back({false, r[0], r.size(), 0, 0, {}});
                continue;
            }
            Report rep{true, r[0], r.size(), r[1], std::uint16_t(r[2] | r[3] << 8), {}};
            if (rep.command == kCommandWriteMemory)
                rep.payload.assign(r.begin() + 8, r.begin() + 8 + (r[4] | r[5] << 8));
            else if (rep.command != kCommandReadMemory)
                rep.payload.assign(r.begin() + 2, r.begin() + 7);
            result.push_back(rep);
        }
        return result;
    }

    QStringList journal() const
    {
        return QString::fromUtf8(test::readFile(env.path("journal.txt"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    test::TestEnvironment env;
    EmulatedMouse emulated;
    RecordingHost host;
    std::unique_ptr<TDM> dm;
    MainWindowState state;
    ApplyReport report;
};

} // namespace

TEST_F(ApplySequenceTest, DefaultProfilesGoIntoBothBanksInTheFixedOrderWithHalfASecondOfPauses)
{
    // A mouse fresh from the factory holds the default profile, level 2 (index 1)
    // active in bank 0: the current profile keeps that level.
    const std::uint16_t cpiAddress = bankAddress(0, kCpiBlockOffset);

    ASSERT_TRUE(apply());

    std::vector<Report> expected = {command(kCommandUpdateMark, {0, 0, 0, 0, 0})};
    for (const Report& r : read(kActiveBankAddress, 1))
        expected.push_back(r);
    for (const Report& r : read(cpiAddress, kCpiBlockSize))
        expected.push_back(r);
    for (int b = 0; b < 2; ++b) {
        expected.push_back(write(bankAddress(b, kButtonBlockOffset), defaultButtonBlock()));
        expected.push_back(write(macroBlockAddress(b, 4), Bytes(kMacroBlockSize, 0)));   // no macros: block 4 only
        expected.push_back(write(bankAddress(b, kLightBlockOffset), kDefaultLight));
        expected.push_back(write(bankAddress(b, kCpiBlockOffset), defaultCpiBlock(1)));
    }
    expected.push_back(write(kReportRateAddress, {0x22}));
    expected.push_back(write(kActiveBankAddress, {0x00}));
    expected.push_back(write(kWheelLightAddress, {0x81}));
    expected.push_back(command(kCommandActivate, {1, 0, 0, 0, 0}));
    expected.push_back(command(kCommandUpdateMark, {1, 0, 0, 0, 0}));
    // Then, the sequence over, everything written is read back in three
    // answers of at most 2040 bytes.
    for (const auto& [address, length] : {std::pair{0x03E, 2040}, {0x836, 2040}, {0x102E, 345}}) {
        for (const Report& r : read(std::uint16_t(address), std::size_t(length)))
            expected.push_back(r);
    }
    EXPECT_EQ(log(), expected);

    // Each pause at its place in the log: after the two reads, before each
    // bank, around the activation and after the end mark (500 ms in all).
    // The check's read pause is not waited: it is left to whoever sends the
    // mouse's next command.
    const std::vector<RecordingPauser::Pause> pauses = {{100, 3}, {50, 5}, {100, 5}, {100, 9}, {50, 16}, {50, 17},
                                                        {50, 18}};
    EXPECT_EQ(host.pauser.pauses, pauses);
    EXPECT_EQ(host.pauser.total(), 500);
    EXPECT_GT(emulated.hid->quietLeftMs(), 0);
    EXPECT_LE(emulated.hid->quietLeftMs(), kPauseAfterReads);
    ASSERT_TRUE(report.verification.has_value());
    EXPECT_TRUE(report.verification->kept());
    EXPECT_EQ(report.verification->exchanges, 3);

    // The monitor is told after the activation, before the end mark.
    ASSERT_EQ(host.monitor.size(), 1u);
    EXPECT_EQ(host.monitor[0], (RecordingHost::Message{true, {UM_DEVICE_SETTINGS_CHANGED, 0, 0}, 17}));
    EXPECT_EQ(host.progress, (std::vector<bool>{true, false}));
    EXPECT_TRUE(host.warnings.empty());
    ASSERT_TRUE(host.preSavedLight.has_value());
    EXPECT_TRUE(sameLight(*host.preSavedLight, dm->FCurrentProfileInfo().ConfigInfo.LEDConfig));
    EXPECT_FALSE(state.SettingsChanged);
    EXPECT_EQ(state.Activation.first, 1);
    EXPECT_EQ(host.steps.size(), 15u);
    EXPECT_EQ(host.steps, report.steps);
    EXPECT_EQ(journal(), (QStringList{"SPI_SETMOUSE 0 0 0", "SPI_SETMOUSESPEED 10", "SPI_SETWHEELSCROLLLINES 3"}));
}

TEST_F(ApplySequenceTest, TheMousesOwnCpiLevelIsKeptWhenTheProfileHasIt)
{
    struct Case {
        std::uint8_t selection;   // byte 0x040: which bank the mouse uses
        std::uint8_t levels;      // the mouse's level count in that bank
        std::uint8_t mouseLevel;
        int profileLevels;        // CPILevel of the current profile
        int expected;
        bool fromMouse;
    };
    const Case cases[] = {
        {0, 4, 2, 4, 2, true},
        {3, 4, 3, 4, 3, true},     // any selection other than 0 is bank 1
        {0, 4, 3, 2, 0, false},    // the profile has only two levels in use
        {0, 2, 3, 4, 0, false},    // the mouse names a level it does not hold
    };
    for (const Case& c : cases) {
        EmulatedMouse mouse;
        RecordingHost recorder([&mouse] { return mouse.logSize(); }, env.path("journal.txt"));
        const std::uint16_t block = c.selection == 0 ? 0x048 : 0x948;
        mouse.memory()[kActiveBankAddress] = c.selection;
        mouse.memory()[block] = c.levels;
        mouse.memory()[block + 1] = c.mouseLevel;
        TMOUSEPROFILEINFO& current = dm->FCurrentProfileInfo();
        current.ConfigInfo.CPILevel = std::uint16_t(c.profileLevels);

        ASSERT_TRUE(ApplySettings(*dm, *mouse.hid, state, recorder, &report)) << int(c.mouseLevel);
        TuiThread::waitForAll();
        EXPECT_EQ(report.currentCpiIndex, c.expected);
        EXPECT_EQ(report.cpiIndexFromMouse, c.fromMouse);
        EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.CurrentCPIIndex, c.expected);
        auto stored = makeZeroRecord<TMOUSEPROFILEINFO>();
        dm->ReadProfileInfo(*stored, dm->FProfileIndex());
        EXPECT_EQ(stored->ConfigInfo.CurrentCPIIndex, c.expected) << "written back into the current store";
        EXPECT_EQ(mouse.memory()[0x049], c.expected) << "bank 0 carries the current profile";
        EXPECT_EQ(mouse.sent()[2].address, block) << "the CPI block of the bank in use was read";
    }
}

TEST_F(ApplySequenceTest, ReportRateByteCombinesTheProfilesOfBothModes)
{
    dm->FCurrentProfileInfo().ConfigInfo.ReportRate = 1000;   // profile 1, Mode 1
    auto second = makeZeroRecord<TMOUSEPROFILEINFO>();
    dm->ReadProfileInfo(*second, 1);
    second->ConfigInfo.ReportRate = 250;                       // profile 2, Mode 2
    dm->SaveBackToProfileInfo(*second, 1);
    ASSERT_TRUE(apply());
    EXPECT_EQ(emulated.memory()[kReportRateAddress], 0x41);
}

TEST_F(ApplySequenceTest, WithoutTheMouseTheProfilesAreStoredAndNothingIsSent)
{
    emulated.setFaults("absent");
    dm->FCurrentProfileInfo().ConfigInfo.ReportRate = 125;   // an edit not yet stored
    const QString file = env.path("Documents/Gaming Mouse Profiles/Profile1.pfd");

    EXPECT_FALSE(apply());

    EXPECT_FALSE(report.mousePresent);
    EXPECT_TRUE(emulated.mouse().log().empty());
    EXPECT_TRUE(host.pauser.pauses.empty());
    EXPECT_TRUE(host.progress.empty());
    EXPECT_TRUE(host.monitor.empty());
    EXPECT_FALSE(host.preSavedLight.has_value());
    EXPECT_FALSE(state.SettingsChanged);
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0].first, "Warning");
    EXPECT_EQ(host.warnings[0].second, "    Please connect your mouse device before apply new settings!");
    EXPECT_EQ(journal().size(), 3) << "the pointer settings are applied all the same";
    auto stored = makeZeroRecord<TMOUSEPROFILEINFO>();
    copyBytesIntoRecord(*stored, test::readFile(file));
    EXPECT_EQ(stored->ConfigInfo.ReportRate, 125);
}

TEST_F(ApplySequenceTest, ABoundProfileWithADamagedFieldIsNeitherStoredNorSent)
{
    struct Case {
        int profile;          // 0-based; 0 is the current profile (Mode 1), 1 is bound to Mode 2
        const char* field;
        std::function<void(TMOUSEPROFILEINFO&)> damage;
    };
    const Case cases[] = {
        {0, "CPILevel is 255", [](TMOUSEPROFILEINFO& p) { p.ConfigInfo.CPILevel = 255; }},
        {1, "ButtonFuncInfo[0].FunctionIndex",
         [](TMOUSEPROFILEINFO& p) { p.ConfigInfo.ButtonFuncInfo[0].FunctionIndex = 33; }},
        {1, "ReportRate", [](TMOUSEPROFILEINFO& p) { p.ConfigInfo.ReportRate = 7; }},
    };
    const QString file = env.path("Documents/Gaming Mouse Profiles/Profile1.pfd");
    const QByteArray before = test::readFile(file);
    for (const Case& c : cases) {
        dm.reset();
        dm = std::make_unique<TDM>();
        host.warnings.clear();
        state.SettingsChanged = true;
        if (c.profile == 0) {
            c.damage(dm->FCurrentProfileInfo());   // as if an edit had stored it
        } else {
            auto other = makeZeroRecord<TMOUSEPROFILEINFO>();
            ASSERT_TRUE(dm->ReadProfileInfo(*other, c.profile));
            c.damage(*other);
            dm->FProfileGroup(c.profile)->Write(other.get(), int(sizeof *other));
        }

        EXPECT_FALSE(apply()) << c.field;

        EXPECT_TRUE(emulated.mouse().log().empty()) << c.field;
        EXPECT_TRUE(state.SettingsChanged) << c.field;
        EXPECT_EQ(test::readFile(file), before) << c.field;
        ASSERT_EQ(host.warnings.size(), 1u) << c.field;
        EXPECT_TRUE(host.warnings[0].second.startsWith(QStringLiteral("Profile %1 ").arg(c.profile + 1)))
            << host.warnings[0].second.toStdString();
        EXPECT_TRUE(host.warnings[0].second.contains(QLatin1String(c.field))) << host.warnings[0].second.toStdString();
        EXPECT_EQ(report.refusal, host.warnings[0].second);
    }
}

TEST_F(ApplySequenceTest, AMouseLostHalfWayGetsEveryCommandAndTheFirstFailureIsReported)
{
    // Exchanges: 1 begin mark, 2-3 selection read, 4-5 CPI read, 6-9 bank 0
    // (button, macro block 4, light, CPI), 10-13 bank 1, 14 rate, 15 mode,
    // 16 wheel light, 17 activation, 18 end mark. unplug=N: exchange N + 1
    // is the first to fail; fail=N: exchange N alone fails.
    struct Case {
        const char* faults;
        ApplyStep failed;
        int bank;
        bool laterStepsDone;   // a single failure leaves the rest working
        int pauses;            // without the selection byte the CPI block is not read, nor waited for
    };
    const Case cases[] = {
        {"unplug=1", ApplyStep::Buttons, 0, false, 450},   // the read-back is not a write
        {"unplug=5", ApplyStep::Buttons, 0, false, 500},
        {"unplug=10", ApplyStep::Macros, 1, false, 500},
        {"unplug=17", ApplyStep::UpdateEnd, -1, false, 500},
        {"fail=1", ApplyStep::UpdateBegin, -1, true, 500},
        {"fail=7", ApplyStep::Macros, 0, true, 500},
        {"fail=16", ApplyStep::WheelLight, -1, true, 500},
    };
    for (const Case& c : cases) {
        EmulatedMouse mouse;
        mouse.setFaults(c.faults);
        RecordingHost recorder([&mouse] { return mouse.logSize(); }, env.path("journal.txt"));

        EXPECT_FALSE(ApplySettings(*dm, *mouse.hid, state, recorder, &report)) << c.faults;
        TuiThread::waitForAll();

        ASSERT_EQ(report.steps.size(), 15u) << c.faults << ": every step is still attempted";
        const std::optional<ApplyStepResult> first = report.firstFailure();
        ASSERT_TRUE(first.has_value()) << c.faults;
        EXPECT_EQ(first->step, c.failed) << c.faults;
        EXPECT_EQ(first->bank, c.bank) << c.faults;
        EXPECT_EQ(report.steps.back().error == 0, c.laterStepsDone) << c.faults;
        EXPECT_EQ(recorder.pauser.total(), c.pauses) << c.faults << ": the spacing is kept";
        EXPECT_EQ(recorder.progress, (std::vector<bool>{true, false}));
        EXPECT_FALSE(recorder.preSavedLight.has_value()) << "the light of a failed apply is not the mouse's";
        ASSERT_EQ(recorder.warnings.size(), 1u) << c.faults;
        EXPECT_EQ(recorder.warnings[0].second,
                  QStringLiteral("The settings could not all be written to the mouse. Failed step: %1")
                      .arg(applyStepText(*first)));
    }
}

TEST_F(ApplySequenceTest, ABlockTheMouseDidNotKeepIsNamedAndTheApplyFails)
{
    // corrupt=N: the write of exchange N is taken, but the mouse keeps its
    // first byte changed. Exchange numbers as in the test above.
    struct Case {
        const char* faults;
        ApplyStep notKept;
        int bank;
    };
    const Case cases[] = {
        {"corrupt=6", ApplyStep::Buttons, 0},
        {"corrupt=12", ApplyStep::Light, 1},
        {"corrupt=14", ApplyStep::ReportRate, -1},
        {"corrupt=16", ApplyStep::WheelLight, -1},
    };
    for (const Case& c : cases) {
        EmulatedMouse mouse;
        mouse.setFaults(c.faults);
        RecordingHost recorder([&mouse] { return mouse.logSize(); }, env.path("journal.txt"));

        EXPECT_FALSE(ApplySettings(*dm, *mouse.hid, state, recorder, &report)) << c.faults;
        TuiThread::waitForAll();

        EXPECT_FALSE(report.firstFailure().has_value()) << c.faults << ": every write was taken";
        ASSERT_TRUE(report.verification.has_value()) << c.faults;
        EXPECT_EQ(report.verification->readError, 0) << c.faults;
        ASSERT_EQ(report.verification->notKept.size(), 1u) << c.faults;
        const ApplyStepResult notKept = report.verification->notKept[0];
        EXPECT_EQ(notKept.step, c.notKept) << c.faults;
        EXPECT_EQ(notKept.bank, c.bank) << c.faults;
        EXPECT_FALSE(report.succeeded()) << c.faults;
        EXPECT_FALSE(recorder.preSavedLight.has_value()) << c.faults;
        ASSERT_EQ(recorder.warnings.size(), 1u) << c.faults;
        EXPECT_EQ(recorder.warnings[0].second,
                  QStringLiteral("The mouse did not keep these settings: %1").arg(applyStepText(notKept)));
    }

    // Turned off, the same mouse is not read back and the apply counts as done.
    EmulatedMouse mouse;
    mouse.setFaults("corrupt=6");
    RecordingHost recorder([&mouse] { return mouse.logSize(); }, env.path("journal.txt"));
    ApplyOptions off;
    off.verify = false;
    EXPECT_TRUE(ApplySettings(*dm, *mouse.hid, state, recorder, &report, off));
    TuiThread::waitForAll();
    EXPECT_FALSE(report.verification.has_value());
    EXPECT_EQ(mouse.logSize(), 18u) << "the sequence up to the end mark, nothing read back";
    EXPECT_EQ(recorder.pauser.total(), 500);
}

TEST_F(ApplySequenceTest, OnlyTheReadBackFailingIsANoteAndLevelOneBecomesActive)
{
    // Exchanges 2-3 read the selection byte, 4-5 the CPI block; everything
    // after them is a write, and every write succeeds.
    struct Case {
        const char* faults;
        int pauses;   // without the selection byte the CPI block is not read, nor waited for
    };
    // The check after the sequence waits nothing: its read pause is left to the next command.
    const Case cases[] = {{"fail=2", 450}, {"fail=3", 450}, {"wrong=3", 450}, {"fail=5", 500}, {"short=5", 500}};
    for (const Case& c : cases) {
        EmulatedMouse mouse;   // factory settings: level 2 active
        mouse.setFaults(c.faults);
        RecordingHost recorder([&mouse] { return mouse.logSize(); }, env.path("journal.txt"));
        dm->FCurrentProfileInfo().ConfigInfo.CurrentCPIIndex = 1;
        dm->FCurrentProfileInfo().ConfigInfo.LEDConfig.R = 0x42;

        EXPECT_TRUE(ApplySettings(*dm, *mouse.hid, state, recorder, &report)) << c.faults;
        TuiThread::waitForAll();

        EXPECT_TRUE(report.succeeded()) << c.faults;
        EXPECT_FALSE(report.firstFailure().has_value()) << c.faults;
        EXPECT_NE(report.cpiReadBackError, 0) << c.faults;
        ASSERT_EQ(report.steps.size(), 15u) << c.faults;
        EXPECT_EQ(report.steps[1].step, ApplyStep::CpiReadBack);
        EXPECT_NE(report.steps[1].error, 0) << c.faults << ": the step list still shows the failed read";
        EXPECT_FALSE(report.cpiIndexFromMouse) << c.faults;
        EXPECT_EQ(report.currentCpiIndex, 0) << c.faults;
        EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.CurrentCPIIndex, 0) << c.faults;
        EXPECT_EQ(mouse.memory()[0x049], 0) << c.faults << ": level 1 is active in the mouse";
        EXPECT_TRUE(recorder.warnings.empty()) << c.faults;
        EXPECT_EQ(recorder.notes, std::vector<QString>{QStringLiteral(
                                      "The mouse's active CPI level could not be read; level 1 is now active.")})
            << c.faults;
        ASSERT_TRUE(recorder.preSavedLight.has_value()) << c.faults << ": the new light reached the mouse";
        EXPECT_EQ(recorder.preSavedLight->R, 0x42) << c.faults;
        EXPECT_EQ(recorder.pauser.total(), c.pauses) << c.faults;
    }

    // A read that succeeds shows no note.
    EmulatedMouse mouse;
    RecordingHost recorder([&mouse] { return mouse.logSize(); }, env.path("journal.txt"));
    ASSERT_TRUE(ApplySettings(*dm, *mouse.hid, state, recorder, &report));
    TuiThread::waitForAll();
    EXPECT_TRUE(recorder.notes.empty());
}

TEST_F(ApplySequenceTest, TheFailureWarningIsShownInTheActiveLanguage)
{
    const TranslationList chinese({QString::fromUtf8("Warning=警告"),
                      QString::fromUtf8("The settings could not all be written to the mouse. Failed step: %1="
                                        "设置未能全部写入鼠标。失败的步骤：%1"),
                      QString::fromUtf8("Light of Mode %1=模式 %1 的灯光")});
    setActiveTranslation(chinese);
    emulated.setFaults("fail=12");   // bank 1's light block

    EXPECT_FALSE(apply());

    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0].first, QString::fromUtf8("警告"));
    EXPECT_EQ(host.warnings[0].second, QString::fromUtf8("设置未能全部写入鼠标。失败的步骤：模式 2 的灯光"));
}

TEST_F(ApplySequenceTest, TheMonitorWindowReceivesTheNoticeThroughTheWindowMessages)
{
    // The endpoint lives on this thread, so the send is handed to it directly,
    // as Windows does (the socket path is covered with the monitor program).
    int argc = 1;
    char name[] = "tests_sequences";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (QCoreApplication::instance() == nullptr)
        app = std::make_unique<QCoreApplication>(argc, argv);
    host.realMonitor = true;
    WindowEndpoint monitor{QLatin1String(kMonitorWindowClass)};
    std::vector<std::pair<WindowMessage, std::size_t>> received;
    monitor.setHandler([&](const WindowMessage& m) {
        received.push_back({m, emulated.logSize()});
        return 0;
    });
    ASSERT_TRUE(monitor.listen());

    ASSERT_TRUE(apply());

    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].first, (WindowMessage{UM_DEVICE_SETTINGS_CHANGED, 0, 0}));
    // Before the end mark, which the check's three reads (six exchanges) follow.
    EXPECT_EQ(received[0].second, emulated.logSize() - 1 - 6) << "before the end mark";
    EXPECT_EQ(report.monitor.status, SendStatus::Answered);

    monitor.close();
    ASSERT_TRUE(apply());
    EXPECT_EQ(report.monitor.status, SendStatus::NoWindow) << "no monitor: nothing is sent, the apply succeeds";
}
