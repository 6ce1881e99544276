#include "sequences/ProfileSwitch.h"
#include "wire/ReportFraming.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/storage/Registry.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"

#include "EmulatedMouse.h"
#include "RecordingHost.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace k4812;
using k4812::test::Bytes;
using k4812::test::EmulatedMouse;
using k4812::test::RecordingHost;
using k4812::test::RecordingPauser;
using k4812::test::SentCommand;

namespace {

const QString kKey = QString::fromLatin1(kProfileKeyPath);

// (command, first bytes): a write's address bytes and payload, or the five
// parameter bytes of another command.
using Commands = std::vector<std::pair<std::uint8_t, Bytes>>;

class ProfileSwitchTest : public ::testing::Test {
protected:
    ProfileSwitchTest()
        : host([this] { return emulated.logSize(); }, env.path("journal.txt")), dm(std::make_unique<TDM>())
    {
    }

    Commands commands()
    {
        Commands result;
        for (const SentCommand& c : emulated.sent()) {
            Bytes what = c.payload;
            if (c.command == kCommandWriteMemory)
                what.insert(what.begin(), {std::uint8_t(c.address), std::uint8_t(c.address >> 8)});
            result.emplace_back(c.command, what);
        }
        return result;
    }

    // Gives profile `index` a light and a pointer speed of its own.
    void markProfile(int index, std::uint8_t red, int speed)
    {
        auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
        dm->ReadProfileInfo(*p, index);
        p->ConfigInfo.LEDConfig.R = red;
        p->ConfigInfo.PointerSpeed = std::uint16_t(speed);
        dm->SaveBackToProfileInfo(*p, index);
    }

    std::optional<QByteArray> registryValue(const QString& name)
    {
        const auto value = dm->registry().readValue(HKEY_CURRENT_USER, kKey, name);
        return value ? std::optional<QByteArray>(value->data) : std::nullopt;
    }

    test::TestEnvironment env;
    EmulatedMouse emulated;
    RecordingHost host;
    std::unique_ptr<TDM> dm;
    MainWindowState state;
    SwitchReport report;
};

} // namespace

TEST_F(ProfileSwitchTest, AProfileButtonBindsTheProfileToTheActiveModeAndTellsMouseRegistryAndMonitor)
{
    ASSERT_TRUE(dm->SwitchToProfileGroup(1));   // Mode 2 active, with profile 2
    markProfile(2, 0x33, 17);

    ASSERT_TRUE(SwitchProfile(*dm, *emulated.hid, state, host, 2, &report));

    EXPECT_EQ(dm->FProfileIndex(), 2);
    EXPECT_EQ(int(dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[1]), 2);
    EXPECT_EQ(int(dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[0]), 0) << "Mode 1 keeps its profile";
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.LEDConfig.R, 0x33);
    const Commands expected = {
        {kCommandUpdateMark, {0, 0, 0, 0, 0}},
        {kCommandWriteMemory, {0x40, 0x00, 2}},
        {kCommandActivate, {1, 2, 0, 0, 0}},
        {kCommandUpdateMark, {1, 0, 0, 0, 0}},
    };
    EXPECT_EQ(commands(), expected);
    EXPECT_EQ(host.pauser.pauses, (std::vector<RecordingPauser::Pause>{{50, 2}, {50, 3}, {100, 4}, {100, 4}}));
    ASSERT_EQ(host.monitor.size(), 1u);
    EXPECT_EQ(host.monitor[0], (RecordingHost::Message{false, {UM_DEVICE_SETTINGS_CHANGED, 1, 2}, 4}));
    EXPECT_EQ(state.Activation.first, 1);
    EXPECT_EQ(state.Activation.profileIndex, 2) << "LastActivatedProfile";
    EXPECT_EQ(int(state.SystemMouseParams.PointerSpeed), 17);   // a copy: the record is packed
    ASSERT_TRUE(host.preSavedLight.has_value());
    EXPECT_EQ(host.preSavedLight->R, 0x33);
    EXPECT_EQ(host.profileChanges, 1);
    EXPECT_GE(host.messageRuns, 1);

    const std::optional<Registry::Value> id =
        dm->registry().readValue(HKEY_CURRENT_USER, kKey, QLatin1String(kProfileIdValueName));
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(id->type, Registry::ValueType::DWord);
    EXPECT_EQ(id->data, QByteArray::fromHex("02000000"));
    EXPECT_TRUE(report.profileIdWritten);

    // The choice survives a restart: current profile and binding are stored.
    dm.reset();
    TDM again;
    EXPECT_EQ(again.FProfileGroupIndex(), 1);
    EXPECT_EQ(again.FProfileIndex(), 2);
    EXPECT_EQ(int(again.FAllProfileSettingInfo().CurrentGame), 2);
}

TEST_F(ProfileSwitchTest, ProfileIdIsWrittenOnlyWhereItsKeyExists)
{
    Registry empty(env.path("other.sqlite3"));
    EXPECT_FALSE(WriteProfileIdValue(empty, 3));
    EXPECT_FALSE(empty.openKey(HKEY_CURRENT_USER, kKey, false)) << "the key is opened, never created";

    EXPECT_TRUE(WriteProfileIdValue(dm->registry(), 3));   // the manager's stores created the key
    EXPECT_EQ(registryValue(QLatin1String(kProfileIdValueName)), QByteArray::fromHex("03000000"));
}

TEST_F(ProfileSwitchTest, AModeButtonMakesItsProfileCurrentAndActivatesTheBank)
{
    markProfile(1, 0x44, 5);
    const std::optional<QByteArray> allSettings = registryValue(QLatin1String(TDM::kAllSettingName));

    ASSERT_TRUE(SwitchMode(*dm, *emulated.hid, state, host, 1, &report));

    EXPECT_EQ(dm->FProfileGroupIndex(), 1);
    EXPECT_EQ(dm->FProfileIndex(), 1);
    const Commands expected = {
        {kCommandUpdateMark, {0, 0, 0, 0, 0}},
        {kCommandWriteMemory, {0x40, 0x00, 1}},
        {kCommandActivate, {1, 1, 0, 0, 0}},
        {kCommandUpdateMark, {1, 0, 0, 0, 0}},
    };
    EXPECT_EQ(commands(), expected);
    EXPECT_EQ(host.pauser.pauses,
              (std::vector<RecordingPauser::Pause>{{50, 1}, {50, 2}, {50, 3}, {50, 4}, {100, 4}}));
    ASSERT_EQ(host.monitor.size(), 1u);
    EXPECT_EQ(host.monitor[0], (RecordingHost::Message{true, {UM_DEVICE_SETTINGS_CHANGED, 0, 0}, 4}));
    EXPECT_EQ(state.Activation.profileIndex, 0) << "the mode button sends (1, 1) and leaves LastActivatedProfile";
    // The new profile's light and pointer speed follow, as after a profile button.
    ASSERT_TRUE(host.preSavedLight.has_value());
    EXPECT_EQ(host.preSavedLight->R, 0x44);
    EXPECT_EQ(int(state.SystemMouseParams.PointerSpeed), 5);
    EXPECT_FALSE(registryValue(QLatin1String(kProfileIdValueName)).has_value());
    EXPECT_EQ(registryValue(QLatin1String(TDM::kAllSettingName)), allSettings)
        << "the all-settings record is not stored";

    dm.reset();
    EXPECT_EQ(TDM().FProfileGroupIndex(), 1) << "the mode is stored";
}

TEST_F(ProfileSwitchTest, TheActiveModeButtonChangesNothing)
{
    EXPECT_FALSE(SwitchMode(*dm, *emulated.hid, state, host, 0, &report));
    EXPECT_FALSE(report.switched);
    EXPECT_TRUE(emulated.mouse().log().empty());
    EXPECT_TRUE(host.pauser.pauses.empty());
    EXPECT_TRUE(host.monitor.empty());
    EXPECT_FALSE(SwitchProfile(*dm, *emulated.hid, state, host, 5, &report)) << "no profile 6";
    EXPECT_FALSE(SwitchMode(*dm, *emulated.hid, state, host, 2, &report)) << "no mode 3";
    EXPECT_TRUE(emulated.mouse().log().empty());
}

TEST_F(ProfileSwitchTest, WithoutTheMouseTheChoiceIsStoredAndTheFailureReported)
{
    emulated.setFaults("absent");
    EXPECT_FALSE(SwitchProfile(*dm, *emulated.hid, state, host, 3, &report));
    EXPECT_TRUE(report.switched);
    EXPECT_EQ(report.commandsSent, 4) << "the whole group is still sent";
    EXPECT_NE(report.firstError, 0);
    EXPECT_EQ(dm->FProfileIndex(), 3);
    EXPECT_EQ(host.pauser.total(), 300);

    host.pauser.pauses.clear();
    EXPECT_FALSE(SwitchMode(*dm, *emulated.hid, state, host, 1, &report));
    EXPECT_TRUE(report.switched);
    EXPECT_EQ(report.commandsSent, 4);
    EXPECT_NE(report.firstError, 0);
    EXPECT_EQ(dm->FProfileGroupIndex(), 1);
    EXPECT_EQ(host.pauser.total(), 300);
}
