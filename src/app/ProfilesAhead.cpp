#include "app/ProfilesAhead.h"

#include "app/ProgramOptions.h"
#include "platform/storage/StorageError.h"

#include <QThread>

#include <thread>

namespace k4812 {

namespace {

struct Loading {
    std::thread thread;
    std::unique_ptr<ProfilesLoadedAhead> result;
    // Joined at the latest when the program ends (a usage error returns
    // before anyone takes the result).
    ~Loading()
    {
        if (thread.joinable())
            thread.join();
    }
};

Loading& loading()
{
    static Loading instance;
    return instance;
}

} // namespace

void startLoadingProfiles(int argc, char** argv)
{
    Loading& state = loading();
    if (state.thread.joinable() || state.result || argumentsAskForAScreenshot(argc, argv))
        return;
    // Qt takes the first thread that uses it for the program's main thread:
    // this one, not the loader.
    QThread::currentThread();
    auto result = std::make_unique<ProfilesLoadedAhead>();
    result->lock = std::make_unique<SingleInstanceLock>();
    if (!result->lock->tryAcquire())
        return; // runProgram() tries again and says why
    state.result = std::move(result);
    state.thread = std::thread([loaded = state.result.get()] {
        try {
            loaded->dm = std::make_unique<TDM>();
        } catch (const StorageError& e) {
            loaded->error = e.message();
        }
    });
}

std::unique_ptr<ProfilesLoadedAhead> takeProfilesLoadedAhead()
{
    Loading& state = loading();
    if (state.thread.joinable())
        state.thread.join();
    return std::move(state.result);
}

} // namespace k4812
