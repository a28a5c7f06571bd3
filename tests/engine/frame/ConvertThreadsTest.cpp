// The suspension gate and the job threads: a worker created suspended runs nothing before its
// first resume, runs at its priority, parks at its gate while suspended, and a wait thread
// ends once the worker it watches is gone.
#include "engine/frame/ConvertThreads.h"
#include "engine/frame/MainThread.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
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

TEST(ThreadPriorityTest, NiceValuesAreRelativeToTheProcesssOwnWithinTheRange) {
    const std::pair<int, std::array<int, 7>> rows[] = {
            // process nice: idle, lowest, lower, normal, higher, highest, time-critical
            {5, {19, 19, 15, 5, 0, -5, -15}},
            {19, {19, 19, 19, 19, 14, 9, -1}},
            {-20, {19, 19, -10, -20, -20, -20, -20}}};
    for (const auto& [own, nices] : rows)
        for (int priority = tpIdle; priority <= tpTimeCritical; ++priority)
            EXPECT_EQ(NiceValueOf(TThreadPriority(priority), own), nices[priority]) << own << " " << priority;
}

// CTest runs this once more in a process started with "nice -n 5" (tests/engine/frame).
TEST(ConvertThreadTest, TheWorkerRunsAtItsPriority) {
    const int own = getpriority(PRIO_PROCESS, 0);
    for (const auto& [priority, want] :
         {std::pair{tpNormal, own}, std::pair{tpLower, std::min(own + 10, 19)}}) {
        int nice = -100;
        TConvertThread worker([&] { nice = getpriority(PRIO_PROCESS, CurrentKernelThreadId()); }, priority);
        worker.Resume();
        worker.WaitFor();
        EXPECT_EQ(nice, want) << priority;
    }

    int policy = -1;
    TConvertThread idle([&] { policy = sched_getscheduler(0); }, tpIdle);
    idle.Resume();
    idle.WaitFor();
    EXPECT_EQ(policy, SCHED_IDLE);
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), own);  // the caller keeps its own
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
