// Many runs of three parallel tasks under random pauses, resumes and stops: each ends with one
// notice per task and the final notice last, and none deadlocks (a watchdog fails the test
// instead of letting it hang). Also the preview switches, turned while tasks run.
#include "tests/engine/front/EngineTestSupport.h"

#include <cstdlib>
#include <random>

namespace kestrova::testing {
namespace {

constexpr int kCycles = 200;
constexpr auto kCycleLimit = std::chrono::seconds(60);
constexpr auto kNoticeLimit = std::chrono::seconds(50);

unsigned StressSeed() {
    const char* text = std::getenv("KESTROVA_STRESS_SEED");
    return text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : 20240611u;
}

TEST_F(EngineTest, RandomPauseResumeAndStopCyclesEndWithOneNoticePerTask) {
    const unsigned seed = StressSeed();
    std::mt19937 random(seed);
    const std::string folder = TestFolder();
    const std::string clips[] = {SmallClip(1.0), SmallClip(0.5), SmallClip(1.0, "f4v")};
    // Two stream copies and one re-encode, into formats that write a trailer.
    const char* const options[] = {"vcodec=copy\nacodec=copy", "vcodec=mpeg4\nacodec=copy",
                                   "vcodec=copy\nacodec=copy"};
    TWatchdog watchdog(kCycleLimit);
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        SCOPED_TRACE(::testing::Message() << "cycle " << cycle << ", seed " << seed);
        watchdog.Start(::testing::Message() << "cycle " << cycle << " (seed " << seed << ")");
        engine.ClearTasks();
        ForgetNotices();
        for (int task = 0; task < 3; ++task)
            AddConversion(clips[task], folder + "/out" + std::to_string(task) + ".mkv", options[task]);
        engine.StartTask(3);

        const int steps = std::uniform_int_distribution(0, 8)(random);
        for (int step = 0; step < steps; ++step) {
            switch (std::uniform_int_distribution(0, 2)(random)) {
                case 0:
                    engine.Pause();
                    break;
                case 1:
                    engine.Resume();
                    break;
                default:
                    MainThread::ProcessQueued();
                    break;
            }
            std::this_thread::sleep_for(
                    std::chrono::microseconds(std::uniform_int_distribution(0, 3000)(random)));
        }
        switch (std::uniform_int_distribution(0, 2)(random)) {
            case 0:
                engine.Stop(true);
                break;
            case 1:
                engine.Stop(false);
                engine.Pause();  // a stopping run is not held up
                break;
            default:
                engine.Resume();  // the run goes to its end
                break;
        }
        ASSERT_TRUE(WaitForFinalNotice(kNoticeLimit));
        std::vector<int> indexes = NoticeIndexes();
        ASSERT_EQ(indexes.size(), 4u);
        EXPECT_EQ(indexes.back(), -1);
        indexes.pop_back();
        std::sort(indexes.begin(), indexes.end());
        ASSERT_EQ(indexes, (std::vector<int>{0, 1, 2}));
        for (const TNotice& notice : Notices())
            ASSERT_FALSE(notice.Info.Exception) << notice.Info.ExceptionMsg;
    }
    engine.ClearTasks();
}

// The preview switches, turned while three tasks re-encode, reach every task at once, and the
// tasks still run to their ends.
TEST_F(EngineTest, TogglingPreviewWhileTasksRunKeepsEveryTaskInStep) {
    const std::string folder = TestFolder();
    for (int task = 0; task < 3; ++task)
        AddConversion(SmallClip(2.0), folder + "/out" + std::to_string(task) + ".mkv",
                      "vcodec=mpeg4\nacodec=copy");
    engine.SetPreviewBitmap(true);
    engine.StartTask(3);
    int turns = 0;
    while (!HasFinalNotice()) {
        const bool on = ++turns % 2 == 1;
        engine.SetPreview(on);
        engine.SetPreviewBitmap(!on);
        const int expected = on ? kPreviewWindowFlag : kPreviewBitmapFlag;
        for (int task = 0; task < 3; ++task)
            ASSERT_EQ(engine.Task(task).PreviewFlags(), expected) << "task " << task << ", turn " << turns;
        MainThread::WaitUntil([deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(2)] {
            return std::chrono::steady_clock::now() > deadline;
        });
        ASSERT_LT(turns, 100000) << "the tasks did not end";
    }
    EXPECT_GT(turns, 1);
    for (const TNotice& notice : Notices()) EXPECT_TRUE(notice.Info.Finished) << notice.Info.ExceptionMsg;
}

}  // namespace
}  // namespace kestrova::testing
