#include "monitor/MonitorCore.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/storage/StorageError.h"
#include "profiles/ProfileManager.h"
#include "sequences/DeviceLocking.h"

#include <stdexcept>

namespace k4812 {

MonitorCore::MonitorCore(TuiHIDData& device, SequenceHost& host)
    : m_device(device)
    , m_host(host)
    , m_notify([](const WindowMessage& message) {
        return postWindowMessage(QLatin1String(kConfigWindowClass), message);
    })
{
}

std::optional<MonitorModes> MonitorCore::modes(QString& error) const
{
    try {
        TDM dm;
        MonitorModes modes;
        modes.activeMode = dm.FProfileGroupIndex();
        for (int m = 0; m < 2; ++m)
            modes.profileOfMode[std::size_t(m)] = dm.FProfileSettingGroup().ProfileIndexOfProfileGroup[m];
        return modes;
    } catch (const StorageError& e) {
        error = e.message();
    } catch (const std::logic_error& e) {
        error = QString::fromUtf8(e.what());
    }
    return std::nullopt;
}

bool MonitorCore::mousePresent()
{
    THIDDataParam presence;
    presence.UsageAndPage = kMouseUsageAndPage;
    return m_device.IsDeviceExist(presence);
}

ModeSwitchOutcome MonitorCore::switchMode(int mode, int waitMs)
{
    if (mode < 0 || mode > 1) {
        ModeSwitchOutcome outcome;
        outcome.refused = QStringLiteral("there is no mode %1").arg(mode + 1);
        return outcome;
    }
    return underLock(waitMs, [this, mode](TDM& dm, MainWindowState& state, SwitchReport& report) {
        if (dm.FProfileGroupIndex() == mode)
            return false;
        SwitchMode(dm, m_device, state, m_host, mode, &report);
        return true;
    });
}

ModeSwitchOutcome MonitorCore::switchProfile(int profile, int waitMs)
{
    if (!TDM::IsProfileIndexInRange(profile)) {
        ModeSwitchOutcome outcome;
        outcome.refused = QStringLiteral("there is no profile %1").arg(profile + 1);
        return outcome;
    }
    return underLock(waitMs, [this, profile](TDM& dm, MainWindowState& state, SwitchReport& report) {
        SwitchProfile(dm, m_device, state, m_host, profile, &report);
        return true;
    });
}

ModeSwitchOutcome MonitorCore::underLock(int waitMs,
                                         const std::function<bool(TDM&, MainWindowState&, SwitchReport&)>& sequence)
{
    ModeSwitchOutcome outcome;
    QString error;
    const std::unique_ptr<DeviceSequenceHold> lock = LockDeviceForSequence(m_device, m_host, error, waitMs);
    if (!lock) {
        outcome.refused = error;
        return outcome;
    }
    if (!mousePresent()) {
        outcome.refused = QStringLiteral("no mouse is connected");
        return outcome;
    }
    try {
        // Read under the lock: what another program stored before it let go counts.
        TDM dm;
        MainWindowState state;
        state.SystemMouseParams = SystemMouseParamsOf(dm.FCurrentProfileInfo());
        if (!sequence(dm, state, outcome.report))
            return outcome;
    } catch (const StorageError& e) {
        outcome.refused = e.message();
        return outcome;
    } catch (const std::logic_error& e) {
        outcome.refused = QString::fromUtf8(e.what());
        return outcome;
    }
    // The mouse's state is stored before another program may reach it.
    const QString notStored = lock->end();
    if (!outcome.report.switched)
        return outcome;
    if (outcome.report.firstError != 0)
        outcome.refused = QStringLiteral("the mouse did not take the switch (error %1)").arg(outcome.report.firstError);
    else if (!outcome.report.profileIdError.isEmpty())
        outcome.refused = outcome.report.profileIdError;
    else if (!notStored.isEmpty())
        outcome.refused = notStored;
    outcome.switched = outcome.refused.isEmpty();
    // The stores changed either way: an open window reloads its current profile.
    outcome.window = m_notify(WindowMessage{UM_RELOAD_PROFILE, 0, 0});
    return outcome;
}

} // namespace k4812
