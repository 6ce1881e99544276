#include "platform/desktop/StorageThread.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>

namespace k4812 {

namespace {

struct Job {
    const std::function<void()>* store = nullptr;
    // The waiting thread's dispatcher, woken when the store ended; nullptr
    // when the caller blocks on the condition variable instead.
    QAbstractEventDispatcher* wake = nullptr;
    std::exception_ptr error;
    bool done = false; // guarded by State::mutex
};

} // namespace

struct StorageThread::State {
    std::mutex mutex;
    std::condition_variable queued;   // a job was queued, or the thread is to stop
    std::condition_variable finished; // a job ended
    std::deque<Job*> jobs;
    bool stopping = false;
    std::atomic<QThread*> self{nullptr};
    std::unique_ptr<QThread> thread;

    void serve()
    {
        self = QThread::currentThread();
        for (;;) {
            Job* job = nullptr;
            {
                std::unique_lock lock(mutex);
                queued.wait(lock, [this] { return stopping || !jobs.empty(); });
                if (jobs.empty())
                    return;
                job = jobs.front();
                jobs.pop_front();
            }
            std::exception_ptr error;
            try {
                (*job->store)();
            } catch (...) {
                error = std::current_exception();
            }
            // Marked done and woken under the lock: the caller sees `done`
            // only after the wake-up was sent, and may then let the job go.
            std::lock_guard lock(mutex);
            job->error = error;
            job->done = true;
            if (job->wake != nullptr)
                job->wake->wakeUp();
            finished.notify_all();
        }
    }
};

StorageThread::StorageThread() : m_state(std::make_unique<State>())
{
    m_state->thread.reset(QThread::create([state = m_state.get()] { state->serve(); }));
    m_state->thread->setObjectName(QStringLiteral("k4812-storage"));
    m_state->thread->start();
}

StorageThread::~StorageThread()
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stopping = true;
    }
    m_state->queued.notify_all();
    m_state->thread->wait();
}

namespace {

StorageThread* g_shared = nullptr;

// The shared thread ends with the application object, while Qt is whole:
// ending it among the program's static objects could find Qt's own already
// gone.
void endSharedThread()
{
    delete std::exchange(g_shared, nullptr);
}

} // namespace

StorageThread& StorageThread::shared()
{
    // Made and ended on the thread that owns the application object.
    if (g_shared == nullptr) {
        g_shared = new StorageThread;
        if (QCoreApplication::instance() != nullptr)
            qAddPostRoutine(&endSharedThread);
    }
    return *g_shared;
}

bool StorageThread::isCurrent() const
{
    return QThread::currentThread() == m_state->self.load();
}

QThread* StorageThread::thread() const
{
    return m_state->thread.get();
}

void StorageThread::run(const std::function<void()>& store, QEventLoop::ProcessEventsFlags whileWaiting)
{
    if (isCurrent()) {
        store();
        return;
    }
    Job job;
    job.store = &store;
    if (QCoreApplication::instance() != nullptr)
        job.wake = QAbstractEventDispatcher::instance();
    {
        std::lock_guard lock(m_state->mutex);
        m_state->jobs.push_back(&job);
    }
    m_state->queued.notify_one();

    if (job.wake != nullptr) {
        auto done = [this, &job] {
            std::lock_guard lock(m_state->mutex);
            return job.done;
        };
        // Not a QEventLoop: exec() returns early when the application quits,
        // while the store may still be using the caller's data.
        while (!done())
            QCoreApplication::processEvents(whileWaiting | QEventLoop::WaitForMoreEvents);
    } else {
        std::unique_lock lock(m_state->mutex);
        m_state->finished.wait(lock, [&job] { return job.done; });
    }
    if (job.error)
        std::rethrow_exception(job.error);
}

} // namespace k4812
