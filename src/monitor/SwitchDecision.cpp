#include "monitor/SwitchDecision.h"

namespace k4812 {

void SwitchDecision::setRules(std::map<QString, int> rules, std::optional<int> returnMode)
{
    m_rules = std::move(rules);
    m_returnMode = returnMode;
}

std::optional<int> SwitchDecision::wantedMode(const QString& app) const
{
    const auto rule = m_rules.find(app);
    if (rule != m_rules.end())
        return rule->second;
    return m_returnMode;
}

std::optional<int> SwitchDecision::focusChanged(const QString& app, qint64 nowMs, int activeMode)
{
    // A new focus replaces whatever an earlier one was waiting for.
    m_pending.reset();
    return decide(wantedMode(app), nowMs, activeMode);
}

std::optional<int> SwitchDecision::tick(qint64 nowMs, int activeMode)
{
    if (!m_pending || nowMs < *dueAt())
        return std::nullopt;
    const std::optional<int> wanted = m_pending;
    m_pending.reset();
    return decide(wanted, nowMs, activeMode);
}

std::optional<qint64> SwitchDecision::dueAt() const
{
    if (!m_pending)
        return std::nullopt;
    return m_lastSwitchMs ? *m_lastSwitchMs + kMinIntervalMs : 0;
}

std::optional<int> SwitchDecision::decide(std::optional<int> wanted, qint64 nowMs, int activeMode)
{
    if (!wanted || *wanted == activeMode)
        return std::nullopt;
    if (m_lastSwitchMs && nowMs - *m_lastSwitchMs < kMinIntervalMs) {
        m_pending = wanted;
        return std::nullopt;
    }
    m_lastSwitchMs = nowMs;
    return wanted;
}

} // namespace k4812
