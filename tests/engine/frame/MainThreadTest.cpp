// The engine's main-thread queue: workers hand calls to the main thread and wait for them.
#include "engine/frame/MainThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

using namespace kestrova;

namespace {

class MainThreadTest : public ::testing::Test {
protected:
    void SetUp() override { MainThread::SetCurrentAsMain(); }
    void TearDown() override { MainThread::SetNotifier(nullptr); }
};

}  // namespace

TEST_F(MainThreadTest, WorkerCallRunsOnTheMainThreadWhileItWaits) {
    const auto mainId = std::this_thread::get_id();
    std::atomic<bool> workerDone{false};
    std::thread::id ranOn;
    std::thread worker([&] {
        EXPECT_FALSE(MainThread::IsMainThread());
        MainThread::RunSync([&] { ranOn = std::this_thread::get_id(); });
        workerDone = true;
    });
    // The main thread waits for the worker, which itself waits for the main thread.
    MainThread::WaitUntil([&] { return workerDone.load(); });
    worker.join();
    EXPECT_EQ(ranOn, mainId);
}

TEST_F(MainThreadTest, TheWorkerBlocksUntilTheCallHasRun) {
    std::atomic<bool> callRan{false};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        MainThread::RunSync([&] { callRan = true; });
        EXPECT_TRUE(callRan.load());  // never back before its call ran
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(returned.load());  // the main thread has not pumped yet
    MainThread::WaitUntil([&] { return returned.load(); });
    worker.join();
}

TEST_F(MainThreadTest, ExceptionOfTheCallReachesTheWorker) {
    std::atomic<bool> done{false};
    std::string caught;
    std::thread worker([&] {
        try {
            MainThread::RunSync([] { throw std::runtime_error("handler failed"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
        done = true;
    });
    MainThread::WaitUntil([&] { return done.load(); });
    worker.join();
    EXPECT_EQ(caught, "handler failed");
}

TEST_F(MainThreadTest, NotifierHearsOfEachQueuedCall) {
    std::atomic<int> notified{0};
    MainThread::SetNotifier([&] { ++notified; });
    std::atomic<int> finished{0};
    std::thread a([&] {
        MainThread::RunSync([] {});
        ++finished;
    });
    std::thread b([&] {
        MainThread::RunSync([] {});
        ++finished;
    });
    MainThread::WaitUntil([&] { return finished.load() == 2; });
    a.join();
    b.join();
    EXPECT_EQ(notified.load(), 2);
}

TEST_F(MainThreadTest, ManyWorkersAllServedInWaitUntil) {
    constexpr int Workers = 6, CallsEach = 50;
    int total = 0;  // touched only by the main thread
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < Workers; ++w)
        threads.emplace_back([&] {
            for (int i = 0; i < CallsEach; ++i) MainThread::RunSync([&] { ++total; });
            ++finished;
        });
    MainThread::WaitUntil([&] { return finished.load() == Workers; });
    for (auto& t : threads) t.join();
    EXPECT_EQ(total, Workers * CallsEach);
}

TEST_F(MainThreadTest, ProcessQueuedOffTheMainThreadRunsNothing) {
    std::atomic<bool> ran{false};
    std::atomic<bool> queuedDone{false};
    std::thread worker([&] {
        MainThread::RunSync([&] { ran = true; });
        queuedDone = true;
    });
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        MainThread::ProcessQueued();  // not the main thread: must leave the call alone
    });
    other.join();
    EXPECT_FALSE(ran.load());
    MainThread::WaitUntil([&] { return queuedDone.load(); });
    worker.join();
    EXPECT_TRUE(ran.load());
}
