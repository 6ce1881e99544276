#pragma once
// The one long-lived thread that writes the program's files and settings
// database while the window is up, so that a slow disk (fsync on a busy
// drive) or a settings database locked by another program never stops the
// window from repainting.
//
// Stores run one at a time, in the order they were asked for. run() returns
// only once its store has ended, so whatever must follow the store (a write
// to the mouse that depends on it) still follows it; the calling thread keeps
// turning its event loop meanwhile, with the flags the caller chooses (user
// input is left queued by default). An exception the store throws is thrown
// again on the calling thread.
//
// The store must touch only data the calling thread leaves alone until run()
// returns: the caller keeps its own event handlers away from that data while
// it waits (the window holds its input, see ui/controls/StorageInputHold.h).

#include <QEventLoop>

#include <functional>
#include <memory>

class QThread;

namespace k4812 {

class StorageThread {
public:
    StorageThread();
    ~StorageThread();
    StorageThread(const StorageThread&) = delete;
    StorageThread& operator=(const StorageThread&) = delete;

    // The program's storage thread, started on first use (on the thread of
    // the application object) and ended when the application object goes.
    static StorageThread& shared();

    // Runs `store` on the storage thread and waits for it to end. Called on
    // the storage thread itself (a store that stores), it runs at once. With
    // no event loop to turn (no application object) the caller just blocks.
    void run(const std::function<void()>& store,
             QEventLoop::ProcessEventsFlags whileWaiting = QEventLoop::ExcludeUserInputEvents);

    // Whether the calling thread is the storage thread.
    bool isCurrent() const;
    QThread* thread() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace k4812
