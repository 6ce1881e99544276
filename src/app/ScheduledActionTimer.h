#pragma once
// An ActionTimer on the window's clock (EventScheduler): the window's pending
// desktop action waits on the same injected clock as its other timers, so
// window tests move that clock instead of sleeping. A restart or stop leaves
// the earlier wait to end without effect.

#include "wire/EventScheduler.h"
#include "profiles/ActionTimer.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>

namespace k4812 {

class ScheduledActionTimer final : public ActionTimer {
public:
    // How the end of a wait is delivered (the window holds it while a store
    // runs); empty: at once.
    using Delivery = std::function<void(std::function<void()> end)>;

    // Waits run on `context`'s thread and never after `context` is gone.
    ScheduledActionTimer(EventScheduler& scheduler, QObject* context, Delivery deliver = {});

    void start(int milliseconds) override;
    void stop() override;
    bool isActive() const override { return m_state->active; }

private:
    struct State {
        std::uint64_t wait = 0; // the number of the wait that may still end
        bool active = false;
    };

    EventScheduler& m_scheduler;
    QPointer<QObject> m_context;
    Delivery m_deliver;
    // Shared with the scheduled ends, which outlive a destroyed timer harmlessly.
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

} // namespace k4812
