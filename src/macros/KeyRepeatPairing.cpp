#include "macros/KeyRepeatPairing.h"

#include <utility>

namespace k4812 {

KeyRepeatPairing::Step KeyRepeatPairing::next(const LinuxKeyEvent& event)
{
    Step step;
    if (m_held) {
        if (!event.released && event.time == m_held->time && keyIdentity(event.key) == keyIdentity(m_held->key)) {
            m_held.reset();
            step.event = event;
            step.event->autoRepeat = true;
            return step;
        }
        step.heldRelease = std::exchange(m_held, std::nullopt);
    }
    if (event.released && !event.autoRepeat && event.time != 0)
        m_held = event;
    else
        step.event = event;
    return step;
}

std::optional<LinuxKeyEvent> KeyRepeatPairing::flush()
{
    return std::exchange(m_held, std::nullopt);
}

} // namespace k4812
