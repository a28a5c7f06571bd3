// The suspension gate and the job threads: a worker created suspended runs nothing before its
// first resume, runs at its priority, parks at its gate while suspended, and a wait thread
// ends once the worker it watches is gone.
#include "engine/frame/ConvertThreads.h"
#include "engine/frame/MainThread.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace kestrova;

namespace {

void Settle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

TEST(SuspendGateTest, AClosedGateHoldsItsPasserUntilOpened) {
    TSuspendGate gate(true);
    std::atomic<bool> passed{false};
    std::thread passer([&] {
        gate.Pass();
        passed = true;
    });
    Settle();
    EXPECT_FALSE(passed);
    gate.Open();
    passer.join();
    EXPECT_TRUE(passed);
    gate.Pass();  // open: returns at once
}

TEST(ConvertThreadTest, NothingRunsBeforeTheFirstResume) {
    std::atomic<bool> ran{false};
    TConvertThread worker([&] { ran = true; }, tpNormal);
    EXPECT_TRUE(worker.Suspended());
    Settle();
    EXPECT_FALSE(ran);
    worker.Resume();
    worker.WaitFor();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(worker.Finished());
}

TEST(ConvertThreadTest, ASuspendedWorkerParksAtItsNextGate) {
    std::atomic<int> steps{0};
    std::atomic<bool> stop{false};
    TConvertThread* self = nullptr;
    TConvertThread worker(
            [&] {
                while (!stop) {
                    self->PassGate();
                    ++steps;
                }
            },
            tpNormal);
    self = &worker;
    worker.Resume();
    while (steps.load() < 10) std::this_thread::yield();
    worker.Suspend();
    Settle();  // the worker reaches its gate
    const int parkedAt = steps;
    Settle();
    EXPECT_EQ(steps, parkedAt);
    stop = true;
    worker.Resume();
    worker.WaitFor();
}

TEST(ConvertThreadTest, TheWorkerRunsAtItsPriority) {
    int nice = 0;
    int policy = -1;
    TConvertThread lowest([&] { nice = getpriority(PRIO_PROCESS, 0); }, tpLowest);
    lowest.Resume();
    lowest.WaitFor();
    EXPECT_EQ(nice, 19);

    TConvertThread idle([&] { policy = sched_getscheduler(0); }, tpIdle);
    idle.Resume();
    idle.WaitFor();
    EXPECT_EQ(policy, SCHED_IDLE);
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), 0);  // the caller keeps its own
}

// A worker dropped without ever being resumed is let run and joined, not left parked.
TEST(ConvertThreadTest, DroppingANeverResumedWorkerDoesNotHang) {
    std::atomic<bool> ran{false};
    {
        TConvertThread worker([&] { ran = true; }, tpNormal);
    }
    EXPECT_TRUE(ran);
}

TEST(WaitThreadTest, EndsOnceTheWatchedWorkerIsGone) {
    MainThread::SetCurrentAsMain();
    std::atomic<bool> live{true};
    TWaitThread waiter([&] { return live.load(); });
    Settle();
    EXPECT_FALSE(waiter.Finished());
    live = false;
    waiter.WaitFor();
    EXPECT_TRUE(waiter.Finished());
}

// The main thread keeps serving calls handed to it while it waits for a thread.
TEST(WaitThreadTest, AWaitOnTheMainThreadRunsCallsHandedToIt) {
    MainThread::SetCurrentAsMain();
    std::atomic<bool> ranOnMain{false};
    TDoTerminateThread notice([&] { MainThread::RunSync([&] { ranOnMain = MainThread::IsMainThread(); }); });
    notice.WaitFor();
    EXPECT_TRUE(ranOnMain);
}

}  // namespace
