#pragma once
// Runs one routine on a short-lived worker thread with its own copy of a
// parameter block: the apply sequence hands the pointer settings to such a
// worker and goes on without waiting for it.
//
// Every call gets its own thread, routine and block, so a second call while
// an earlier worker still runs never touches that worker's data. The block
// is copied before ThreadCallFunction returns: the caller may change or free
// its buffer at once.

#include <cstddef>
#include <functional>

namespace k4812 {

class TuiThread {
public:
    // Called on the worker thread with the worker's own copy of the block.
    using Routine = std::function<void(void* block, std::size_t size)>;

    // Starts routine(copy of buffer, size) on a new worker thread and returns
    // at once. A size of 0 or an empty routine does nothing. Returns false
    // (with a warning) when the buffer is missing or no thread could be
    // started.
    static bool ThreadCallFunction(const void* buffer, std::size_t size, Routine routine);

    // Blocks until every worker started so far has finished, so that a test
    // or a short-lived command-line process can wait for them before it ends.
    static void waitForAll();

    // Workers started and not yet finished.
    static std::size_t runningCount();
};

} // namespace k4812
