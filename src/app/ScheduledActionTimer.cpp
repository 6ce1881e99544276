#include "app/ScheduledActionTimer.h"

namespace k4812 {

ScheduledActionTimer::ScheduledActionTimer(EventScheduler& scheduler, QObject* context, Delivery deliver)
    : m_scheduler(scheduler), m_context(context), m_deliver(std::move(deliver))
{
}

void ScheduledActionTimer::start(int milliseconds)
{
    const std::uint64_t wait = ++m_state->wait;
    m_state->active = true;
    std::weak_ptr<State> state = m_state;
    m_scheduler.runLater(m_context, milliseconds, [this, state, wait] {
        const std::shared_ptr<State> alive = state.lock();
        if (!alive || alive->wait != wait || !alive->active)
            return;
        alive->active = false;
        if (!onTimeout)
            return;
        if (m_deliver)
            m_deliver([this, state] {
                if (state.lock() && onTimeout)
                    onTimeout();
            });
        else
            onTimeout();
    });
}

void ScheduledActionTimer::stop()
{
    ++m_state->wait;
    m_state->active = false;
}

} // namespace k4812
