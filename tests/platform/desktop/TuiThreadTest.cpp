#include "platform/desktop/TuiThread.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace k4812;

namespace {

using Block = std::array<std::uint8_t, 12>;

Block blockOf(const void* data, std::size_t size)
{
    Block b{};
    std::memcpy(b.data(), data, std::min(size, b.size()));
    return b;
}

} // namespace

TEST(TuiThread, WorkerSeesTheBufferAsItWasWhenCalled)
{
    Block buffer{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const Block original = buffer;
    std::promise<void> callerChangedBuffer;
    std::shared_future<void> changed = callerChangedBuffer.get_future().share();
    Block seen{};
    std::size_t seenSize = 0;

    ASSERT_TRUE(TuiThread::ThreadCallFunction(buffer.data(), buffer.size(), [&, changed](void* block, std::size_t size) {
        changed.wait(); // read only after the caller has overwritten its buffer
        seen = blockOf(block, size);
        seenSize = size;
    }));
    buffer.fill(0xEE);
    callerChangedBuffer.set_value();
    TuiThread::waitForAll();

    EXPECT_EQ(seenSize, 12u);
    EXPECT_EQ(seen, original);
    EXPECT_EQ(TuiThread::runningCount(), 0u);
}

TEST(TuiThread, SecondCallDoesNotClobberARunningWorker)
{
    Block first{};
    first.fill(0x11);
    Block second{};
    second.fill(0x22);
    std::promise<void> secondDone;
    std::shared_future<void> secondFinished = secondDone.get_future().share();
    Block seenByFirst{};
    Block seenBySecond{};
    std::atomic<int> firstRuns{0};
    std::atomic<int> secondRuns{0};

    // The first worker holds its block until the second call has run to its
    // end: with one process-wide slot, it would then read the second block.
    ASSERT_TRUE(TuiThread::ThreadCallFunction(first.data(), first.size(), [&, secondFinished](void* block, std::size_t size) {
        secondFinished.wait();
        seenByFirst = blockOf(block, size);
        ++firstRuns;
    }));
    ASSERT_TRUE(TuiThread::ThreadCallFunction(second.data(), second.size(), [&](void* block, std::size_t size) {
        seenBySecond = blockOf(block, size);
        ++secondRuns;
        secondDone.set_value();
    }));
    TuiThread::waitForAll();

    EXPECT_EQ(seenByFirst, first);
    EXPECT_EQ(seenBySecond, second);
    EXPECT_EQ(firstRuns, 1);
    EXPECT_EQ(secondRuns, 1);
}

TEST(TuiThread, WaitForAllReturnsOnlyAfterEveryWorkerEnded)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> finished{0};
    const std::uint8_t byte = 7;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(TuiThread::ThreadCallFunction(&byte, 1, [&, released](void*, std::size_t) {
            released.wait();
            ++finished;
        }));
    }
    EXPECT_EQ(TuiThread::runningCount(), 3u);
    std::thread releaser([&] { release.set_value(); });
    TuiThread::waitForAll();
    releaser.join();

    EXPECT_EQ(finished, 3);
    EXPECT_EQ(TuiThread::runningCount(), 0u);
}

TEST(TuiThread, NothingToRunStartsNoWorker)
{
    std::atomic<int> runs{0};
    const std::uint8_t byte = 1;
    EXPECT_TRUE(TuiThread::ThreadCallFunction(&byte, 0, [&](void*, std::size_t) { ++runs; }));
    EXPECT_TRUE(TuiThread::ThreadCallFunction(&byte, 1, TuiThread::Routine()));
    EXPECT_FALSE(TuiThread::ThreadCallFunction(nullptr, 4, [&](void*, std::size_t) { ++runs; }));
    TuiThread::waitForAll();
    EXPECT_EQ(runs, 0);
}

TEST(TuiThread, FailingRoutineDoesNotEndTheProcess)
{
    const std::uint8_t byte = 1;
    ASSERT_TRUE(TuiThread::ThreadCallFunction(&byte, 1, [](void*, std::size_t) { throw std::runtime_error("boom"); }));
    TuiThread::waitForAll();
    EXPECT_EQ(TuiThread::runningCount(), 0u);
}
