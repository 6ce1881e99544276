#include "profiles/PendingSystemAction.h"

#include <utility>

namespace k4812 {

PendingSystemAction::PendingSystemAction(std::unique_ptr<ActionTimer> timer, Runner run)
    : m_timer(std::move(timer)), m_run(std::move(run))
{
    m_timer->onTimeout = [this] { timeout(); };
}

void PendingSystemAction::schedule(const QString& action)
{
    m_pending = action;
    m_timer->stop();
    m_timer->start(kSystemActionDelay);
}

void PendingSystemAction::timeout()
{
    m_timer->stop();
    // Cleared before running, so an action that schedules another keeps it.
    const QString action = std::exchange(m_pending, QString());
    if (m_run)
        m_run(action);
}

std::optional<PointerSettingResult> ApplySystemAction(PointerSettings& settings, const QString& action,
                                                      const TMOUSEPROFILEINFO& profile,
                                                      const TSYSTEMMOUSEPARAMS& params)
{
    const TMOUSECONFIGINFO& config = profile.ConfigInfo;
    if (action == QLatin1String(kActionSetPointerSpeed))
        return settings.setMouseSpeed(params.PointerSpeed);
    if (action == QLatin1String(kActionSetAcceleration))
        return settings.setMouseAcceleration(MouseAccelerationTable[config.PointerAcceleration != 0 ? 1 : 0]);
    if (action == QLatin1String(kActionSetScrollSpeed))
        return settings.setWheelScrollLines(config.VWheelSpeed);
    if (action == QLatin1String(kActionSetDoubleClickSpeed))
        return settings.setDoubleClickTime(config.DoubleClickSpeed);
    return std::nullopt;
}

} // namespace k4812
