#include "ui/controls/FontSetupAhead.h"

#include <fontconfig/fontconfig.h>

#include <thread>

namespace k4812 {

namespace {

// Joined at the latest when the program ends (a usage error or a missing
// display returns before anyone waits).
struct SetupThread {
    std::thread thread;
    ~SetupThread() { join(); }
    void join()
    {
        if (thread.joinable())
            thread.join();
    }
};

SetupThread& setupThread()
{
    static SetupThread instance;
    return instance;
}

} // namespace

void startFontSetup()
{
    SetupThread& setup = setupThread();
    if (setup.thread.joinable())
        return;
    // FcInit loads the configuration once per process; the toolkit's own
    // call then finds it loaded.
    setup.thread = std::thread([] { FcInit(); });
}

void waitForFontSetup()
{
    setupThread().join();
}

} // namespace k4812
