#pragma once
// What the monitor knows and does with the mouse: the active mode, the
// profile bound to each mode, whether the mouse is there, and the mode
// switch. The switch runs the very sequence the window's mode buttons run
// (SwitchMode), under the one-writer lock of the mouse, so it never writes
// while the window or k4812ctl runs a device sequence: it waits up to its
// bound for the mouse and is otherwise refused with the holder named. After
// a switch the configuration window, when open, is told to reload its
// current profile (7038).
//
// The stores are read afresh for every question and every switch: the window
// and k4812ctl change them while the monitor runs.

#include "sequences/ProfileSwitch.h"
#include "sequences/SequenceHost.h"
#include "wire/HidData.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace k4812 {

struct MonitorModes {
    int activeMode = 0;
    std::array<int, 2> profileOfMode{0, 1};
};

struct ModeSwitchOutcome {
    bool switched = false;   // the stores and the mouse took the new mode
    QString refused;         // why nothing (or not everything) was done; empty on success
    SwitchReport report;
    SendResult window;       // 7038 to the configuration window (NoWindow: none open)
};

class MonitorCore {
public:
    MonitorCore(TuiHIDData& device, SequenceHost& host);

    // The modes as stored now; nothing, with `error` set, when the stores
    // cannot be read.
    std::optional<MonitorModes> modes(QString& error) const;
    bool mousePresent();

    // Makes `mode` (0 or 1) the active mode, waiting up to `waitMs` for
    // another program's device sequence. A mode already active is no switch
    // and sends nothing.
    ModeSwitchOutcome switchMode(int mode, int waitMs);
    // Makes `profile` (0 to 4) current and binds it to the active mode, as a
    // profile button does, under the same lock.
    ModeSwitchOutcome switchProfile(int profile, int waitMs);

    // Where 7038 goes after a switch; the configuration window's endpoint
    // unless a test replaces it.
    void setWindowNotifier(std::function<SendResult(const WindowMessage&)> notify) { m_notify = std::move(notify); }

private:
    // Runs `sequence` on fresh stores under the mouse's lock; `sequence`
    // returns false when there is nothing to do.
    ModeSwitchOutcome underLock(int waitMs, const std::function<bool(TDM&, MainWindowState&, SwitchReport&)>& sequence);

    TuiHIDData& m_device;
    SequenceHost& m_host;
    std::function<SendResult(const WindowMessage&)> m_notify;
};

} // namespace k4812
