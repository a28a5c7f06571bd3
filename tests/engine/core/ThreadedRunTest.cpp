// Runs on a worker thread: the worker starts suspended and runs at its priority, a pause parks
// it between packets, a stop reaches a paused or never-resumed worker, and the terminate
// notice comes exactly once from the worker.
#include "engine/frame/MainThread.h"
#include "tests/engine/core/TranscodeTestSupport.h"

#include <sys/resource.h>

#include <chrono>
#include <thread>

namespace kestrova::testing {
namespace {

class ThreadedRunTest : public RunTest {
protected:
    void SetUp() override {
        RunTest::SetUp();
        MainThread::SetCurrentAsMain();
        Output = TestFolder() + "/threaded.mp4";
        Prepare(RunClip("f4v", 10.0), {{"vcodec", "copy"}, {"acodec", "copy"}}, Output);
        job.SetProgressInterval(0);  // a report after every packet
        job.OnTerminate = [this](TCustomFFmpeg&) {
            NoticeThread = std::this_thread::get_id();
            NoticeNice = getpriority(PRIO_PROCESS, 0);
            ++Notices;
        };
    }

    // The worker suspends itself from its `count`-th progress report.
    void PauseAtReport(int count) {
        job.OnProgress = [this, count](TCustomFFmpeg& running, const TJobProgress& progress) {
            if (progress.InputIndex < 0) return;
            if (++Reports == count) running.SuspendConvert();
        };
    }

    void WaitForNotice() {
        MainThread::WaitUntil([this] { return Notices.load() > 0; });
    }

    std::string Output;
    std::atomic<int> Reports{0};
    std::thread::id NoticeThread;
    int NoticeNice = 0;
};

TEST_F(ThreadedRunTest, TheWorkerStartsSuspendedRunsAtItsPriorityAndGivesOneNotice) {
    TConvertThread* worker = job.StartConvert(true, tpLower);
    ASSERT_NE(worker, nullptr);
    EXPECT_EQ(job.WorkerThread(), worker);
    EXPECT_TRUE(worker->Suspended());
    EXPECT_TRUE(job.RunState().Running);
    worker->Resume();
    WaitForNotice();
    EXPECT_NE(NoticeThread, std::this_thread::get_id());
    EXPECT_EQ(NoticeNice, 10);
    EXPECT_TRUE(job.RunState().FinishedNormally) << job.RunState().FailureText;
    EXPECT_EQ(job.WorkerThread(), nullptr);

    // Neither a second start nor a stop after the end gives another notice.
    EXPECT_EQ(job.StartConvert(true), nullptr);
    job.StopConvert(true);
    EXPECT_EQ(Notices, 1);
    const TProbedFile result = ProbeFile(Output);
    ASSERT_TRUE(result.Opened);
    EXPECT_GT(result.Duration, 9.0);
}

TEST_F(ThreadedRunTest, APausedWorkerHandlesNoPacketUntilItIsResumed) {
    PauseAtReport(5);
    job.StartConvert(true)->Resume();
    MainThread::WaitUntil([this] { return Reports.load() >= 5; });
    // The handler closed the gate before it returned: the worker cannot pass the next packet.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // room for a wrongly running worker
    EXPECT_EQ(Reports, 5);
    EXPECT_EQ(Notices, 0);

    job.ResumeConvert();
    WaitForNotice();
    EXPECT_GT(Reports, 5);
    EXPECT_TRUE(job.RunState().FinishedNormally) << job.RunState().FailureText;
}

TEST_F(ThreadedRunTest, AStopWithWaitReachesAPausedWorkerAndLeavesACompleteFile) {
    PauseAtReport(5);
    job.StartConvert(true)->Resume();
    MainThread::WaitUntil([this] { return Reports.load() >= 5; });
    job.StopConvert(true);
    EXPECT_EQ(Notices, 1);
    EXPECT_EQ(Reports, 5);
    EXPECT_TRUE(job.RunState().Terminated);
    EXPECT_FALSE(job.RunState().FinishedNormally);
    EXPECT_FALSE(job.RunState().Failed) << job.RunState().FailureText;
    const TProbedFile result = ProbeFile(Output);  // an MP4 opens only with its trailer
    ASSERT_TRUE(result.Opened);
    EXPECT_LT(result.Duration, 2.0);
}

TEST_F(ThreadedRunTest, AStopOfANeverResumedWorkerRunsItToItsNotice) {
    ASSERT_NE(job.StartConvert(true), nullptr);
    job.StopConvert(true);
    EXPECT_EQ(Notices, 1);
    EXPECT_EQ(Reports, 0);
    EXPECT_FALSE(job.RunState().FinishedNormally);
    EXPECT_FALSE(job.RunState().Failed) << job.RunState().FailureText;
}

TEST_F(ThreadedRunTest, AStopWithoutWaitReturnsAndTheNoticeFollows) {
    PauseAtReport(3);
    job.StartConvert(true)->Resume();
    MainThread::WaitUntil([this] { return Reports.load() >= 3; });
    job.StopConvert(false);
    WaitForNotice();
    EXPECT_FALSE(job.RunState().FinishedNormally);
    EXPECT_EQ(Notices, 1);
}

// The job's own end stops and joins its paused worker: nothing of the run outlives the job.
TEST_F(ThreadedRunTest, DestroyingAJobStopsItsPausedWorker) {
    std::atomic<int> notices{0};
    {
        TCustomFFmpeg local;
        ASSERT_TRUE(local.AddInputFile(RunClip("f4v", 10.0))) << local.LastError();
        ASSERT_GT(local.AddOutputFile(TestFolder() + "/destroyed.mp4", false), 0) << local.LastError();
        local.OnTerminate = [&notices](TCustomFFmpeg&) { ++notices; };
        local.StartConvert(true)->Resume();
        local.SuspendConvert();
    }
    EXPECT_EQ(notices, 1);
}

TEST(NeverStartedJobTest, AStopGivesOneNoticeFromAnotherThreadAndDestroyingGivesNone) {
    std::atomic<int> notices{0};
    std::thread::id noticeThread;
    {
        TCustomFFmpeg stopped;
        stopped.OnTerminate = [&](TCustomFFmpeg& job) {
            noticeThread = std::this_thread::get_id();
            EXPECT_TRUE(job.RunState().Terminated);
            ++notices;
        };
        stopped.StopConvert(false);
        stopped.TerminateConvert(true);
        EXPECT_EQ(notices, 1);
        EXPECT_NE(noticeThread, std::this_thread::get_id());
        EXPECT_FALSE(stopped.RunState().FinishedNormally);
        EXPECT_FALSE(stopped.RunState().Failed);
    }
    {
        TCustomFFmpeg unused;
        unused.OnTerminate = [&](TCustomFFmpeg&) { ++notices; };
    }
    EXPECT_EQ(notices, 1);
}

}  // namespace
}  // namespace kestrova::testing
