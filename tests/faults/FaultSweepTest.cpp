// The device sequences against a mouse that fails at each single command in
// turn: the apply, a profile button, a mode button, the light preview and
// "Restore light". Each row makes the emulated mouse fail in one way at one
// exchange and checks that the sequence ends with every command attempted,
// names (or returns) the failure, leaves every store on disk whole and equal
// to what the window shows, and that SettingsChanged says whether anything
// is left unsaved.
//
// Exchanges are counted as the emulator counts them: each report set or
// fetched. Kinds: Fail (that exchange alone fails), Gone (the mouse is
// unplugged from that exchange on), Short and Wrong (an answer cut short or
// with the wrong report ID; only the fetches of the apply have answers), and
// one Absent row per sequence (no mouse at all).

#include "sequences/ApplySequence.h"
#include "sequences/LightSenders.h"
#include "sequences/ProfileSwitch.h"
#include "platform/desktop/TuiThread.h"
#include "platform/storage/Registry.h"
#include "profiles/Profile.h"
#include "records/RecordBytes.h"

#include "EmulatedMouse.h"
#include "RecordingHost.h"
#include "TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

using namespace k4812;
using k4812::test::EmulatedMouse;
using k4812::test::RecordingHost;

namespace {

enum class Sequence { Apply, ProfileButton, ModeButton, PreviewLight, RestoreLight };
enum class Kind { Absent, Fail, Gone, Short, Wrong };

struct Exchange {
    ApplyStep step;
    int bank;
    bool fetch;   // a fetched answer (Short and Wrong apply only here)
    bool readBack = false;   // the check after the end mark: reading back what was written
};

// The apply's exchanges with the factory profiles (no macros: one macro block a bank).
const std::vector<Exchange> kApplyExchanges = {
    {ApplyStep::UpdateBegin, -1, false},
    {ApplyStep::CpiReadBack, -1, false},   // read of the selection byte
    {ApplyStep::CpiReadBack, -1, true},
    {ApplyStep::CpiReadBack, -1, false},   // read of the bank's CPI block
    {ApplyStep::CpiReadBack, -1, true},
    {ApplyStep::Buttons, 0, false},
    {ApplyStep::Macros, 0, false},
    {ApplyStep::Light, 0, false},
    {ApplyStep::CpiLevels, 0, false},
    {ApplyStep::Buttons, 1, false},
    {ApplyStep::Macros, 1, false},
    {ApplyStep::Light, 1, false},
    {ApplyStep::CpiLevels, 1, false},
    {ApplyStep::ReportRate, -1, false},
    {ApplyStep::ActiveMode, -1, false},
    {ApplyStep::WheelLight, -1, false},
    {ApplyStep::Activation, -1, false},
    {ApplyStep::UpdateEnd, -1, false},
    // Then the read-back of everything written, in three reads (a request
    // and its answer each).
    {ApplyStep::UpdateEnd, -1, false, true},
    {ApplyStep::UpdateEnd, -1, true, true},
    {ApplyStep::UpdateEnd, -1, false, true},
    {ApplyStep::UpdateEnd, -1, true, true},
    {ApplyStep::UpdateEnd, -1, false, true},
    {ApplyStep::UpdateEnd, -1, true, true},
};
// The exchanges up to and with the end mark: all an apply sends when a
// write fails (nothing is read back then).
constexpr std::size_t kApplySequenceExchanges = 18;
constexpr int kApplySteps = 15;

// AFTER-CORE-MERGE: the apply that treats a failed read-back alone as a note
// comes with SequenceHost::showNote; until it is there those rows are skipped.
template <typename Host>
constexpr bool kHostShowsNotes = requires(Host& host) { host.showNote(QString()); };
constexpr bool kReadBackFailureIsANote = kHostShowsNotes<SequenceHost>;

// The other sequences are four commands each, no fetch: update mark, the
// selection byte or light, the activation or wheel-light byte, update mark.
constexpr int kShortSequenceExchanges = 4;

int exchangesOf(Sequence sequence)
{
    return sequence == Sequence::Apply ? int(kApplyExchanges.size()) : kShortSequenceExchanges;
}

struct Row {
    Sequence sequence;
    Kind kind;
    int position;   // 1-based exchange; 0 for Absent

    // AFTER-CORE-MERGE: the apply counts a failed read-back of the mouse's
    // active CPI level, with every write done, as a success with a note
    // (level 0 becomes active). True for the rows where only that read fails.
    bool duringCheck() const
    {
        return sequence == Sequence::Apply && kind != Kind::Absent
            && kApplyExchanges[std::size_t(position - 1)].readBack;
    }

    bool onlyReadBackFails() const
    {
        return sequence == Sequence::Apply && kind != Kind::Gone && kind != Kind::Absent
            && kApplyExchanges[std::size_t(position - 1)].step == ApplyStep::CpiReadBack;
    }
};

std::string nameOf(Sequence s)
{
    switch (s) {
    case Sequence::Apply: return "Apply";
    case Sequence::ProfileButton: return "ProfileButton";
    case Sequence::ModeButton: return "ModeButton";
    case Sequence::PreviewLight: return "PreviewLight";
    case Sequence::RestoreLight: return "RestoreLight";
    }
    return "?";
}

std::string nameOf(Kind k)
{
    switch (k) {
    case Kind::Absent: return "Absent";
    case Kind::Fail: return "Fail";
    case Kind::Gone: return "Gone";
    case Kind::Short: return "Short";
    case Kind::Wrong: return "Wrong";
    }
    return "?";
}

std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    const Row& r = info.param;
    std::string name = nameOf(r.sequence) + "_" + nameOf(r.kind);
    if (r.kind != Kind::Absent)
        name += "At" + std::to_string(r.position);
    return name;
}

// Every row: each sequence without a mouse, then each kind at each exchange
// where it can happen. Gone from exchange 1 is the same as Absent.
std::vector<Row> allRows()
{
    std::vector<Row> rows;
    for (Sequence s : {Sequence::Apply, Sequence::ProfileButton, Sequence::ModeButton, Sequence::PreviewLight,
                       Sequence::RestoreLight}) {
        rows.push_back({s, Kind::Absent, 0});
        for (int p = 1; p <= exchangesOf(s); ++p) {
            rows.push_back({s, Kind::Fail, p});
            if (p > 1)
                rows.push_back({s, Kind::Gone, p});
            if (s == Sequence::Apply && kApplyExchanges[std::size_t(p - 1)].fetch) {
                rows.push_back({s, Kind::Short, p});
                rows.push_back({s, Kind::Wrong, p});
            }
        }
    }
    return rows;
}

std::string faultText(const Row& r)
{
    switch (r.kind) {
    case Kind::Absent: return "absent";
    case Kind::Fail: return "fail=" + std::to_string(r.position);
    case Kind::Gone: return "unplug=" + std::to_string(r.position - 1);
    case Kind::Short: return "short=" + std::to_string(r.position);
    case Kind::Wrong: return "wrong=" + std::to_string(r.position);
    }
    return {};
}

// The error a failing command of the row returns.
int errorOf(Kind kind)
{
    return kind == Kind::Fail ? EIO : ENODEV;
}

class FaultSweepTest : public ::testing::TestWithParam<Row> {
protected:
    FaultSweepTest()
        : host([this] { return emulated.logSize(); }, env.path("journal.txt")), dm(std::make_unique<TDM>())
    {
        state.SystemMouseParams = SystemMouseParamsOf(dm->FCurrentProfileInfo());
        dm->SaveBackAllProfileInfoToFile();   // every profile has its file from the start
    }

    // Where a store's bytes and the disk differ, one line each; empty when
    // every store on disk is whole and holds what the program holds.
    QStringList differencesFromDisk()
    {
        QStringList differences;
        Registry& registry = dm->registry();
        const auto compare = [&](TuiProfile& store, const QString& what, bool inFile) {
            const std::optional<Registry::Value> value =
                registry.readValue(store.RootKey(), store.KeyPath(), store.FileName());
            if (value && value->data != store.stream())
                differences << what + QStringLiteral(": the registry holds other bytes");
            if (!inFile)
                return;
            QFile file(store.FilePath() + store.FileName());
            if (!file.open(QIODevice::ReadOnly))
                differences << what + QStringLiteral(": its file cannot be read");
            else if (file.readAll() != store.stream())
                differences << what + QStringLiteral(": its file holds other bytes");
        };
        for (int i = 0; i < 5; ++i) {
            TuiProfile& store = *dm->FProfileGroup(i);
            compare(store, QStringLiteral("profile %1").arg(i + 1),
                    dm->FProfileSettingGroup().ProfileSettingList[i].SaveToFile == 1);
        }
        compare(dm->uiProfileSettingGroup(), QStringLiteral("the profile-group record"), false);
        compare(dm->uiProfileAllSettingInfo(), QStringLiteral("the all-settings record"), false);
        return differences;
    }

    // The working copy the pages show against its store.
    bool windowShowsTheCurrentStore()
    {
        const QByteArray& stored = dm->FProfileGroup(dm->FProfileIndex())->stream();
        return stored.size() >= qsizetype(sizeof(TMOUSEPROFILEINFO))
            && std::memcmp(stored.constData(), &dm->FCurrentProfileInfo(), sizeof(TMOUSEPROFILEINFO)) == 0;
    }

    test::TestEnvironment env;
    EmulatedMouse emulated;
    RecordingHost host;
    std::unique_ptr<TDM> dm;
    MainWindowState state;
};

TEST_P(FaultSweepTest, TheSequenceEndsNamesTheFailureAndLosesNothing)
{
    const Row row = GetParam();
    ASSERT_TRUE(differencesFromDisk().isEmpty()) << differencesFromDisk().join(QLatin1Char('\n')).toStdString();
    emulated.setFaults(faultText(row).c_str());
    const std::size_t exchanges = std::size_t(exchangesOf(row.sequence));

    switch (row.sequence) {
    case Sequence::Apply: {
        // An edit on the page, not yet stored.
        dm->FCurrentProfileInfo().ConfigInfo.ReportRate = 1000;
        dm->FCurrentProfileInfo().ConfigInfo.LEDConfig.G = 0x5A;
        state.SettingsChanged = true;
        ApplyReport report;
        const bool applied = ApplySettings(*dm, *emulated.hid, state, host, &report);
        TuiThread::waitForAll();

        EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 1000);
        if (row.kind == Kind::Absent) {
            EXPECT_FALSE(applied);
            EXPECT_FALSE(report.mousePresent);
            EXPECT_EQ(emulated.logSize(), 0u) << "nothing is sent to a missing mouse";
            ASSERT_EQ(host.warnings.size(), 1u);
            break;
        }
        EXPECT_EQ(report.steps.size(), std::size_t(kApplySteps)) << "every step is attempted";
        EXPECT_EQ(host.progress, (std::vector<bool>{true, false}));
        if (row.onlyReadBackFails()) {
            // AFTER-CORE-MERGE: a success with a note; level 0 is active.
            if (!kReadBackFailureIsANote)
                GTEST_SKIP() << "AFTER-CORE-MERGE: expects the apply's read-back note (SequenceHost::showNote)";
            EXPECT_TRUE(applied);
            EXPECT_TRUE(host.warnings.empty());
            EXPECT_TRUE(host.preSavedLight.has_value());
            EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.CurrentCPIIndex, 0);
            break;
        }
        if (row.duringCheck()) {
            // Every write was taken but the check could not read them back:
            // not a success, and not a failed write either.
            EXPECT_FALSE(applied);
            EXPECT_FALSE(report.firstFailure().has_value());
            ASSERT_TRUE(report.verification.has_value());
            EXPECT_NE(report.verification->readError, 0);
            EXPECT_FALSE(report.succeeded());
            ASSERT_EQ(host.warnings.size(), 1u);
            EXPECT_EQ(host.warnings[0].second,
                      QStringLiteral("The settings were written, but the mouse could not be read back to check them."));
            EXPECT_FALSE(host.preSavedLight.has_value()) << "an unchecked light is not taken as the mouse's";
            break;
        }
        // A failed read of the active level is only a note: the failure the
        // apply names is the first write the fault reaches.
        std::size_t failingIndex = std::size_t(row.position - 1);
        while (kApplyExchanges[failingIndex].step == ApplyStep::CpiReadBack)
            ++failingIndex;
        const Exchange& failing = kApplyExchanges[failingIndex];
        EXPECT_FALSE(applied);
        const std::optional<ApplyStepResult> first = report.firstFailure();
        ASSERT_TRUE(first.has_value());
        EXPECT_EQ(first->step, failing.step);
        EXPECT_EQ(first->bank, failing.bank);
        ASSERT_EQ(host.warnings.size(), 1u);
        EXPECT_EQ(host.warnings[0].second,
                  QStringLiteral("The settings could not all be written to the mouse. Failed step: %1")
                      .arg(applyStepText(*first)));
        EXPECT_FALSE(host.preSavedLight.has_value()) << "the light of a failed apply is not the mouse's";
        if (row.kind == Kind::Fail) {
            // The CPI block is read only once the bank is known.
            const bool bankUnknown = failing.step == ApplyStep::CpiReadBack && row.position <= 3;
            EXPECT_EQ(emulated.logSize(), bankUnknown ? kApplySequenceExchanges - 2 : kApplySequenceExchanges)
                << "every command is sent";
        }
        EXPECT_LE(emulated.logSize(), kApplySequenceExchanges) << "nothing is read back after a failed write";
        EXPECT_FALSE(report.verification.has_value());
        break;
    }
    case Sequence::ProfileButton:
    case Sequence::ModeButton: {
        SwitchReport report;
        const bool switched = row.sequence == Sequence::ProfileButton
                                  ? SwitchProfile(*dm, *emulated.hid, state, host, 3, &report)
                                  : SwitchMode(*dm, *emulated.hid, state, host, 1, &report);
        EXPECT_FALSE(switched);
        EXPECT_TRUE(report.switched) << "the choice is made whatever the mouse does";
        EXPECT_EQ(report.commandsSent, int(exchanges));
        EXPECT_EQ(report.firstError, errorOf(row.kind));
        EXPECT_EQ(dm->FProfileIndex(), row.sequence == Sequence::ProfileButton ? 3 : 1);
        EXPECT_EQ(host.profileChanges, 1);
        break;
    }
    case Sequence::PreviewLight:
    case Sequence::RestoreLight: {
        const int error = row.sequence == Sequence::PreviewLight
                              ? PreviewLight(*emulated.hid, dm->FCurrentProfileInfo())
                              : RestoreLight(*emulated.hid, host.pauser, dm->FCurrentProfileInfo().ConfigInfo.LEDConfig,
                                             dm->FProfileGroupIndex(), state.Activation);
        EXPECT_EQ(error, errorOf(row.kind));
        if (row.kind == Kind::Fail) {
            EXPECT_EQ(emulated.logSize(), exchanges) << "every command is sent";
        }
        break;
    }
    }

    EXPECT_LE(emulated.logSize(), exchanges) << "no command is repeated or added";
    const QStringList differences = differencesFromDisk();
    EXPECT_TRUE(differences.isEmpty()) << differences.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(windowShowsTheCurrentStore()) << "the pages show what is stored";
    // Nothing is left unsaved: the apply stored everything, the other
    // sequences started from a clean state and store their own choices.
    EXPECT_FALSE(state.SettingsChanged);
}

INSTANTIATE_TEST_SUITE_P(EachCommandAndFault, FaultSweepTest, ::testing::ValuesIn(allRows()), rowName);

} // namespace
