#include "ui/controls/FontSetupAhead.h"

#include <dlfcn.h>

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
    // The fontconfig the toolkit has loaded, found at run time: linking it
    // here would put it ahead of the toolkit's libraries in every symbol
    // lookup the dynamic loader makes at start. A toolkit without it leaves
    // nothing to do.
    using FcInitFunction = int (*)();
    auto* fcInit = reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit"));
    if (fcInit == nullptr)
        return;
    // FcInit loads the configuration once per process; the toolkit's own
    // call then finds it loaded.
    setup.thread = std::thread([fcInit] { fcInit(); });
}

void waitForFontSetup()
{
    setupThread().join();
}

} // namespace k4812
