#pragma once
// An ActionTimer that never waits: a test sees whether it runs and ends the
// wait with fire(); the owner's pointer stays valid through `handle`.

#include "profiles/ActionTimer.h"

namespace k4812::test {

class ManualActionTimer final : public ActionTimer {
public:
    void start(int milliseconds) override
    {
        active = true;
        lastInterval = milliseconds;
        ++starts;
    }
    void stop() override { active = false; }
    bool isActive() const override { return active; }

    // Ends the wait as the event loop would; false when it was not running.
    bool fire()
    {
        if (!active)
            return false;
        active = false;
        if (onTimeout)
            onTimeout();
        return true;
    }

    bool active = false;
    int lastInterval = 0;
    int starts = 0;
};

} // namespace k4812::test
