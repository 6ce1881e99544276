// The storage thread: stores run on one other thread, in order; the caller
// waits with its event loop turning and gets the store's exception; the
// settings database may be written there and read on the caller's thread.

#include "platform/desktop/StorageThread.h"
#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"

#include "QtEventLoop.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

using namespace k4812;

namespace {

const QString kKey = QStringLiteral("software\\ZOZozadOdediv4812");

// A flag one thread raises and another waits for, at most a generous while
// (a wait that runs out is the failure the test looks for, never the path
// it expects).
class Flag {
public:
    void raise()
    {
        std::lock_guard lock(m_mutex);
        m_raised = true;
        m_changed.notify_all();
    }
    bool waitRaised()
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [this] { return m_raised; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_raised = false;
};

std::uint32_t dword(const std::optional<Registry::Value>& value)
{
    return value && value->data.size() == 4 ? *reinterpret_cast<const std::uint32_t*>(value->data.constData()) : 0;
}

} // namespace

TEST(StorageThreadTest, RunsEveryStoreOnTheSameOtherThreadInTheOrderAsked)
{
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    StorageThread storage;
    std::vector<QThread*> threads;
    std::vector<int> order;
    for (int i = 1; i <= 3; ++i) {
        storage.run([&, i] {
            threads.push_back(QThread::currentThread());
            order.push_back(i);
            // A store that stores runs that part at once, not behind itself.
            storage.run([&, i] { order.push_back(i * 10); });
        });
    }
    EXPECT_EQ(order, (std::vector<int>{1, 10, 2, 20, 3, 30}));
    ASSERT_EQ(threads.size(), 3u);
    for (QThread* thread : threads) {
        EXPECT_EQ(thread, storage.thread());
        EXPECT_NE(thread, QThread::currentThread());
    }
    EXPECT_FALSE(storage.isCurrent());
}

TEST(StorageThreadTest, TheStoresExceptionReachesTheCallerAndTheThreadGoesOn)
{
    StorageThread storage;
    try {
        storage.run([] { throw StorageError(QStringLiteral("The disk is full.")); });
        FAIL() << "the failure was lost";
    } catch (const StorageError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("The disk is full."));
    }
    bool ranAfter = false;
    storage.run([&] { ranAfter = true; });
    EXPECT_TRUE(ranAfter);
}

TEST(StorageThreadTest, TheCallersEventLoopTurnsWhileTheStoreRuns)
{
    StorageThread storage;
    Flag timerFired;
    // Fires only when the caller's loop turns; the store waits for it.
    QTimer::singleShot(0, QCoreApplication::instance(), [&] { timerFired.raise(); });
    bool seenInStore = false;
    storage.run([&] { seenInStore = timerFired.waitRaised(); });
    EXPECT_TRUE(seenInStore) << "the caller's event loop stood still during the store";
}

TEST(StorageThreadTest, ARegistryWrittenOnTheStorageThreadIsReadOnTheCallersThread)
{
    test::TestEnvironment env;
    StorageThread storage;
    Registry registry;

    storage.run([&] { registry.writeDWord(HKEY_CURRENT_USER, kKey, QStringLiteral("ProfileID"), 1); });
    EXPECT_EQ(dword(registry.readValue(HKEY_CURRENT_USER, kKey, QStringLiteral("ProfileID"))), 1u);
    registry.writeDWord(HKEY_CURRENT_USER, kKey, QStringLiteral("ProfileID"), 2);
    std::uint32_t readOnWorker = 0;
    storage.run([&] { readOnWorker = dword(registry.readValue(HKEY_CURRENT_USER, kKey, QStringLiteral("ProfileID"))); });
    EXPECT_EQ(readOnWorker, 2u);

    // While a store holds its write open, another connection (the monitor
    // program's) reads the committed value on the caller's thread at once.
    Registry other;
    other.setBusyTimeoutMs(0);
    std::uint32_t readMeanwhile = 0;
    QString readError;
    Flag readDone;
    storage.run([&] {
        Registry::WriteGroup group(registry);
        registry.writeDWord(HKEY_CURRENT_USER, kKey, QStringLiteral("ProfileID"), 3);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&] {
                try {
                    readMeanwhile = dword(other.readValue(HKEY_CURRENT_USER, kKey, QStringLiteral("ProfileID")));
                } catch (const StorageError& error) {
                    readError = error.message();
                }
                readDone.raise();
            },
            Qt::QueuedConnection);
        ASSERT_TRUE(readDone.waitRaised());
        group.commit();
    });
    EXPECT_TRUE(readError.isEmpty()) << readError.toStdString();
    EXPECT_EQ(readMeanwhile, 2u);
    EXPECT_EQ(dword(registry.readValue(HKEY_CURRENT_USER, kKey, QStringLiteral("ProfileID"))), 3u);
    EXPECT_EQ(dword(other.readValue(HKEY_CURRENT_USER, kKey, QStringLiteral("ProfileID"))), 3u);
    // The application object comes from the shared event-loop helper.
    EXPECT_TRUE(test::runEventsUntil([] { return true; }));
}
