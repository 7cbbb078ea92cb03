// Worker threads: a body runs on a thread that has finished an earlier one
// when there is such a thread, bodies that overlap still run side by side,
// and waiting for the workers means waiting for every body.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "platform/window/worker_thread.h"

namespace platform::window {
namespace {

using namespace std::chrono_literals;

// Waits (bounded) until `done`.
template <typename Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 400 && !done(); ++i) std::this_thread::sleep_for(5ms);
    return done();
}

TEST(WorkerThreads, OneAfterAnotherShareAThreadAndOverlappingOnesDoNot) {
    WaitForWorkerThreads();
    std::mutex lock;
    std::set<std::thread::id> threads;
    for (int i = 0; i < 20; ++i) {
        std::atomic<bool> ran{false};
        ASSERT_TRUE(BeginWorkerThread(
            [&](WindowHandle) {
                std::lock_guard guard(lock);
                threads.insert(std::this_thread::get_id());
                ran = true;
            },
            WindowHandle{}));
        ASSERT_TRUE(WaitFor([&] { return ran.load() && RunningWorkerThreads() == 0; }));
    }
    EXPECT_EQ(threads.size(), 1u) << "twenty polls one after another need one thread";

    // Two bodies that each wait for the other finish only side by side.
    std::atomic<int> arrived{0};
    std::atomic<int> finished{0};
    auto meet = [&](WindowHandle) {
        ++arrived;
        if (WaitFor([&] { return arrived.load() == 2; })) ++finished;
    };
    ASSERT_TRUE(BeginWorkerThread(meet, WindowHandle{}));
    ASSERT_TRUE(BeginWorkerThread(meet, WindowHandle{}));
    WaitForWorkerThreads();
    EXPECT_EQ(finished.load(), 2);
    EXPECT_EQ(RunningWorkerThreads(), 0);
}

TEST(WorkerThreads, AThrowingBodyEndsOnlyItselfAndWaitingCoversEveryBody) {
    std::atomic<int> done{0};
    ASSERT_TRUE(BeginWorkerThread([](WindowHandle) { throw std::runtime_error("lost receiver"); },
                                  WindowHandle{}));
    ASSERT_TRUE(WaitFor([] { return RunningWorkerThreads() == 0; }));
    // The thread that saw the exception takes the next body.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(BeginWorkerThread(
            [&](WindowHandle) {
                std::this_thread::sleep_for(30ms);
                ++done;
            },
            WindowHandle{}));
    }
    EXPECT_GT(RunningWorkerThreads(), 0);
    WaitForWorkerThreads();
    EXPECT_EQ(done.load(), 3) << "waiting returned before every body had run";
    EXPECT_EQ(RunningWorkerThreads(), 0);

    // Workers start again after a wait.
    std::atomic<bool> again{false};
    ASSERT_TRUE(BeginWorkerThread([&](WindowHandle) { again = true; }, WindowHandle{}));
    WaitForWorkerThreads();
    EXPECT_TRUE(again.load());
}

}  // namespace
}  // namespace platform::window
