#include "sequences/ProfileSwitch.h"

#include "wire/LastActivatedProfile.h"
#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"
#include "profiles/FactoryDefaults.h"

namespace k4812 {

namespace {

// Counts the commands of a group and keeps the first failure.
class CommandTally {
public:
    explicit CommandTally(SwitchReport& report) : m_report(report) {}
    void keep(int error)
    {
        ++m_report.commandsSent;
        if (m_report.firstError == 0)
            m_report.firstError = error;
    }

private:
    SwitchReport& m_report;
};

int writeSelectionByte(TuiHIDData& device, int value)
{
    const auto byte = std::uint8_t(value);
    return WriteDeviceMemory(device, kActiveBankAddress, &byte, 1);
}

// What follows the current profile in the window: the pointer settings the
// next apply hands to the desktop, and the light "Restore light" puts back.
void followCurrentProfile(TDM& dm, MainWindowState& state, SequenceHost& host)
{
    state.SystemMouseParams = SystemMouseParamsOf(dm.FCurrentProfileInfo());
    host.setPreSavedLedConfig(dm.FCurrentProfileInfo().ConfigInfo.LEDConfig);
}

} // namespace

bool WriteProfileIdValue(Registry& registry, int profileIndex)
{
    const QString key = QLatin1String(kProfileKeyPath);
    if (!registry.openKey(HKEY_CURRENT_USER, key, false))
        return false;
    registry.writeDWord(HKEY_CURRENT_USER, key, QLatin1String(kProfileIdValueName), std::uint32_t(profileIndex));
    return true;
}

bool SwitchProfile(TDM& dm, TuiHIDData& device, MainWindowState& state, SequenceHost& host, int profileIndex,
                   SwitchReport* out)
{
    SwitchReport local;
    SwitchReport& report = out != nullptr ? *out : local;
    report = SwitchReport{};
    if (!TDM::IsProfileIndexInRange(profileIndex))
        return false;

    // Stored as one step, or not at all: a failure leaves the profile manager
    // as it was and reaches the caller before anything is sent.
    host.runStorage([&] {
        dm.changeAsOneStep([&] {
            dm.SwitchToProfile(profileIndex);
            dm.SaveBackAllProfileSettingInfo();
            // Bind the active mode to the profile. The binding is stored at once
            // (as a mode switch stores its choice): the mouse is told of it
            // below, and kept only in memory it would be lost when the window
            // closes without an apply.
            const int mode = dm.FProfileGroupIndex();
            dm.FProfileSettingGroup().ProfileIndexOfProfileGroup[mode] = profileIndex;
            dm.SaveProfileGroupSettingInfoToRegistry();
            dm.SwitchToProfileGroup(mode);
        });
    });
    followCurrentProfile(dm, state, host);
    report.switched = true;
    host.currentProfileChanged();

    CommandTally tally(report);
    tally.keep(SendUpdateMark(device, kUpdateMarkBegin));
    tally.keep(writeSelectionByte(device, profileIndex));
    host.processMessages();
    host.pause(kPauseInSwitchGroup);
    state.Activation.profileIndex = std::uint8_t(dm.FAllProfileSettingInfo().CurrentGame);
    tally.keep(SendActivation(device, state.Activation));
    try {
        host.runStorage([&] { report.profileIdWritten = WriteProfileIdValue(dm.registry(), profileIndex); });
    } catch (const StorageError& error) {
        // Reported after the group: the mouse's group must still be closed.
        report.profileIdError = error.message();
    }
    host.pause(kPauseInSwitchGroup);
    tally.keep(SendUpdateMark(device, kUpdateMarkEnd));
    host.pause(kPauseAfterSwitchGroup);

    report.monitor = host.postToMonitor(WindowMessage{UM_DEVICE_SETTINGS_CHANGED, 1, profileIndex});
    host.pause(kPauseAfterMonitorMessage);
    return report.succeeded();
}

bool SwitchMode(TDM& dm, TuiHIDData& device, MainWindowState& state, SequenceHost& host, int modeIndex,
                SwitchReport* out)
{
    SwitchReport local;
    SwitchReport& report = out != nullptr ? *out : local;
    report = SwitchReport{};
    if (!TDM::IsProfileGroupIndexInRange(modeIndex) || modeIndex == dm.FProfileGroupIndex())
        return false;

    bool switched = false;
    host.runStorage([&] {
        dm.changeAsOneStep([&] {
            switched = dm.SwitchToProfileGroup(modeIndex);
            if (switched) {
                dm.SaveBackToProfileGroupSettingInfo();
                dm.SaveProfileGroupSettingInfoToRegistry();
            }
        });
    });
    if (!switched)
        return false;
    // The current profile changed as with a profile button; what follows it
    // must follow here too, or "Restore light" would put the other mode's
    // light into this mode's bank.
    followCurrentProfile(dm, state, host);
    report.switched = true;
    host.currentProfileChanged();

    CommandTally tally(report);
    tally.keep(SendUpdateMark(device, kUpdateMarkBegin));
    host.pause(kPauseInSwitchGroup);
    tally.keep(writeSelectionByte(device, modeIndex));
    host.pause(kPauseInSwitchGroup);
    tally.keep(SendActivate(device, 1, 1));
    host.pause(kPauseInSwitchGroup);
    tally.keep(SendUpdateMark(device, kUpdateMarkEnd));
    host.pause(kPauseAfterModeGroup);

    report.monitor = host.sendToMonitor(WindowMessage{UM_DEVICE_SETTINGS_CHANGED, 0, 0});
    host.pause(kPauseAfterMonitorMessage);
    return report.succeeded();
}

} // namespace k4812
