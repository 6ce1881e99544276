#pragma once
// When the monitor switches the mouse's mode for the focused application:
// only when the application's wanted mode (its rule, or the return mode for
// one without a rule) differs from the active mode, and at most once per
// second. A switch held back by that limit is kept and made by tick() once
// the second is over, unless the focus has moved on since. Pure: the caller
// hands in the clock and the active mode.

#include <QString>

#include <map>
#include <optional>

namespace k4812 {

class SwitchDecision {
public:
    static constexpr qint64 kMinIntervalMs = 1000;

    void setRules(std::map<QString, int> rules, std::optional<int> returnMode);

    // The mode the focused application `app` wants; nothing: leave the mode.
    std::optional<int> wantedMode(const QString& app) const;

    // The focus moved to `app` at `nowMs`: the mode to switch to now, if any.
    std::optional<int> focusChanged(const QString& app, qint64 nowMs, int activeMode);
    // A later moment: the held-back switch, when it is due and still wanted.
    std::optional<int> tick(qint64 nowMs, int activeMode);
    // When tick() has something to do; nothing when no switch is held back.
    std::optional<qint64> dueAt() const;

private:
    std::optional<int> decide(std::optional<int> wanted, qint64 nowMs, int activeMode);

    std::map<QString, int> m_rules;
    std::optional<int> m_returnMode;
    std::optional<qint64> m_lastSwitchMs;
    std::optional<int> m_pending;
};

} // namespace k4812
