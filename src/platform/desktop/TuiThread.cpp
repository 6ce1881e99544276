#include "platform/desktop/TuiThread.h"

#include <QThread>
#include <QtGlobal>

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

namespace k4812 {

namespace {

// QThread rather than std::thread: a routine may use Qt objects that need
// the thread's event dispatcher (QProcess for the gsettings command).
struct Worker {
    std::unique_ptr<QThread> thread;
    bool finished = false;
};

// Every worker started and not yet joined. Finished workers are joined by the
// next call or by waitForAll(); whatever is left is joined when the process
// ends, so no thread object is ever destroyed while it runs.
class WorkerRegistry {
public:
    ~WorkerRegistry() { waitForAll(); }

    bool start(std::vector<std::uint8_t> block, TuiThread::Routine routine)
    {
        std::unique_lock lock(m_mutex);
        reapFinished(lock);
        auto worker = m_workers.emplace(m_workers.end());
        worker->thread.reset(QThread::create([this, worker, block = std::move(block), routine = std::move(routine)]() mutable {
            run(block, routine);
            std::lock_guard done(m_mutex);
            worker->finished = true;
            m_changed.notify_all();
        }));
        worker->thread->start();
        if (!worker->thread->isRunning() && !worker->thread->isFinished()) {
            m_workers.erase(worker);
            qWarning("TuiThread: no worker thread could be started");
            return false;
        }
        return true;
    }

    void waitForAll()
    {
        std::list<Worker> done;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return runningLocked() == 0; });
            done.splice(done.end(), m_workers);
        }
        for (Worker& w : done)
            w.thread->wait();
    }

    std::size_t running()
    {
        std::lock_guard lock(m_mutex);
        return runningLocked();
    }

private:
    static void run(std::vector<std::uint8_t>& block, TuiThread::Routine& routine)
    {
        // An exception leaving a thread would end the process; the worker
        // reports nothing to its caller, so it is logged and dropped.
        try {
            routine(block.data(), block.size());
        } catch (const std::exception& e) {
            qWarning("TuiThread: the routine failed: %s", e.what());
        } catch (...) {
            qWarning("TuiThread: the routine failed");
        }
    }

    std::size_t runningLocked() const
    {
        std::size_t n = 0;
        for (const Worker& w : m_workers)
            n += w.finished ? 0 : 1;
        return n;
    }

    // Joins workers that have finished; their threads are past their last
    // statement, so the join does not wait.
    void reapFinished(std::unique_lock<std::mutex>&)
    {
        for (auto it = m_workers.begin(); it != m_workers.end();) {
            if (it->finished) {
                it->thread->wait();
                it = m_workers.erase(it);
            } else {
                ++it;
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::list<Worker> m_workers;
};

WorkerRegistry& registry()
{
    static WorkerRegistry instance;
    return instance;
}

} // namespace

bool TuiThread::ThreadCallFunction(const void* buffer, std::size_t size, Routine routine)
{
    if (size == 0 || !routine)
        return true;
    if (buffer == nullptr) {
        qWarning("TuiThread: no buffer for a block of %zu bytes", size);
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    return registry().start(std::vector<std::uint8_t>(bytes, bytes + size), std::move(routine));
}

void TuiThread::waitForAll()
{
    registry().waitForAll();
}

std::size_t TuiThread::runningCount()
{
    return registry().running();
}

} // namespace k4812
