// The component as the window runs it: log lines delivered on the main thread (the worker waits
// for them) and libx264 tasks, which log while they open their encoders under the codec lock.
// Runs of six such tasks on three threads, started and stopped again and again, never leave the
// main thread waiting for a worker that waits for it (a watchdog fails the test instead).
#include "tests/engine/front/EngineTestSupport.h"

namespace kestrova::testing {
namespace {

// When the stop comes: at once, once the first task reports, or not at all.
enum TStopPoint { spAtOnce, spAfterFirstReport, spNever };

TEST_F(EngineTest, X264TasksWithTheLogOnTheMainThreadStartAndStopAgainAndAgain) {
    TFFLogger::Instance().TriggerEventInMainThread = true;  // as the window has it (SetUp clears it)
    const std::string folder = TestFolder();
    const std::string clip = SmallClip(2.0);
    engine.SetProgressInterval(100);
    bool reported = false;
    engine.OnProgress = [&](TCustomFFmpegEngine&, TProgressInfo*) { reported = true; };
    TWatchdog watchdog(std::chrono::seconds(90));
    for (int cycle = 0; cycle < 9; ++cycle) {
        const auto stop = static_cast<TStopPoint>(cycle % 3);
        SCOPED_TRACE(::testing::Message() << "cycle " << cycle);
        watchdog.Start(::testing::Message() << "cycle " << cycle);
        engine.ClearTasks();
        ForgetNotices();
        reported = false;
        for (int task = 0; task < 6; ++task)
            AddConversion(clip, folder + "/out" + std::to_string(task) + ".mp4",
                          "vcodec=libx264\nacodec=aac\nab=64000");
        engine.StartTask(3);
        if (stop == spAfterFirstReport) MainThread::WaitUntil([&] { return reported || HasFinalNotice(); });
        if (stop != spNever) engine.Stop(true);
        ASSERT_TRUE(WaitForFinalNotice());
        ASSERT_EQ(Notices().size(), 7u);
        for (const TNotice& notice : Notices()) {
            ASSERT_FALSE(notice.Info.Exception) << notice.Info.ExceptionMsg;
            if (stop == spNever) {
                ASSERT_TRUE(notice.Info.Finished) << notice.Info.TaskIndex;
            }
        }
    }
    engine.ClearTasks();
}

}  // namespace
}  // namespace kestrova::testing
