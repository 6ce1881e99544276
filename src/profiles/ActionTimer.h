#pragma once
// A restartable one-shot timer as an injected operation: the window runs a
// QTimer, tests fire it by hand and never wait.

#include <functional>
#include <memory>

namespace k4812 {

class ActionTimer {
public:
    virtual ~ActionTimer() = default;
    // Starts the wait again from the beginning, also when it was running.
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    // Called once when a wait ends (the timer is no longer active then).
    std::function<void()> onTimeout;
};

// A QTimer on the calling thread's event loop.
std::unique_ptr<ActionTimer> makeQtActionTimer();

} // namespace k4812
