#pragma once
// The System Setting page's one pending desktop change (TimerDoAction): every
// change names its action and starts the 500 ms wait again, a newer action
// replaces the older one, and only the last is applied when the wait ends.
// So dragging a track bar changes the desktop once, after the user stops.

#include "profiles/ActionTimer.h"
#include "records/Records.h"
#include "profiles/SystemMouseParams.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace k4812 {

constexpr int kSystemActionDelay = 500;

// The pending action names (FDoTimerAction).
inline constexpr const char* kActionSetPointerSpeed = "SETPOINTERSPEED";
inline constexpr const char* kActionSetAcceleration = "SETACCELARATION";
inline constexpr const char* kActionSetScrollSpeed = "SETSCROLLSPEED";
inline constexpr const char* kActionSetDoubleClickSpeed = "SETDOUBLECLICKSPEED";
// Scheduled by the hidden "Accelaration" box of the Sensitivity page; no
// action of that name exists, so its wait ends without a change.
inline constexpr const char* kActionAcceleration = "ACCELARATION";

class PendingSystemAction {
public:
    // Runs the action whose wait has ended.
    using Runner = std::function<void(const QString& action)>;

    PendingSystemAction(std::unique_ptr<ActionTimer> timer, Runner run);
    PendingSystemAction(const PendingSystemAction&) = delete;
    PendingSystemAction& operator=(const PendingSystemAction&) = delete;

    // ScheduleSystemAction: `action` becomes the pending one and the wait starts again.
    void schedule(const QString& action);
    // The pending action's name; empty when none is pending.
    const QString& pending() const { return m_pending; }
    bool isWaiting() const { return m_timer->isActive(); }

    ActionTimer& timer() { return *m_timer; }

private:
    // TimerDoActionTimer.
    void timeout();

    std::unique_ptr<ActionTimer> m_timer;
    Runner m_run;
    QString m_pending;
};

// What the end of the wait does for `action`, with the values the page has
// stored: the pointer speed of `params`, the acceleration row that
// "Enhance pointer precision" stands for, the profile's wheel lines or its
// double-click time. Nothing (no value) for any other name.
std::optional<PointerSettingResult> ApplySystemAction(PointerSettings& settings, const QString& action,
                                                      const TMOUSEPROFILEINFO& profile,
                                                      const TSYSTEMMOUSEPARAMS& params);

} // namespace k4812
