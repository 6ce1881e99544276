#pragma once
// Running something later on the event loop, as an injected operation: the
// programs use Qt's timers, tests record what was asked and run it when they
// choose, so time-based behaviour is tested without sleeping.

#include <QObject>

#include <functional>

namespace k4812 {

class EventScheduler {
public:
    virtual ~EventScheduler() = default;
    // Runs `action` once, about `milliseconds` from now (0: as soon as the
    // event loop is back), on the thread of `context`; never when `context`
    // is destroyed first.
    virtual void runLater(QObject* context, int milliseconds, std::function<void()> action) = 0;
};

// Qt's single-shot timers.
class QtEventScheduler final : public EventScheduler {
public:
    void runLater(QObject* context, int milliseconds, std::function<void()> action) override;
};

// The scheduler the programs use when nobody injects one.
EventScheduler& defaultEventScheduler();

} // namespace k4812
