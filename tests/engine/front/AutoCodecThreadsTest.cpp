// Automatic codec threads: each launch shares the processor cores among the tasks that run at
// once, and a file encoded with codec threads keeps its frames and duration.
#include "tests/engine/front/EngineTestSupport.h"

#include <algorithm>

namespace kestrova::testing {
namespace {

int Cores() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

struct TThreadsCase {
    const char* Name;
    int Tasks;
    int ThreadCount;
    bool Automatic;
    int Expected;  // codec cores of a task launched while the run's other threads are busy
    // A later task launched after the tasks beside it have all ended runs alone and gets every
    // core: on a threaded run that depends on how fast the short copies end. The first task is
    // always launched beside the others.
    bool AloneAllowed = false;
};

TEST_F(EngineTest, EachLaunchSharesTheCoresAmongTheTasksRunningAtOnce) {
    const TThreadsCase cases[] = {
            {"one task in this thread", 1, 0, true, Cores()},
            {"one task on more threads than tasks", 1, 3, true, Cores()},
            {"two tasks on two threads", 2, 2, true, std::max(1, Cores() / 2), true},
            {"three tasks on two threads", 3, 2, true, std::max(1, Cores() / 2), true},
            {"two tasks in this thread", 2, 0, true, Cores()},
            {"switched off", 2, 2, false, 0},
    };
    const std::string folder = TestFolder();
    for (const TThreadsCase& test : cases) {
        engine.ClearTasks();
        ForgetNotices();
        engine.SetAutoCodecThreads(test.Automatic);
        for (int task = 0; task < test.Tasks; ++task)
            AddConversion(SmallClip(1.0), folder + "/out" + std::to_string(task) + ".mkv",
                          "vcodec=copy\nacodec=copy");
        engine.StartTask(test.ThreadCount);
        ASSERT_TRUE(WaitForFinalNotice()) << test.Name;
        for (int task = 0; task < test.Tasks; ++task) {
            const int cores = engine.Task(task).RunState().CodecCores;
            if (task > 0 && test.AloneAllowed && cores == Cores()) continue;
            EXPECT_EQ(cores, test.Expected) << test.Name << ", task " << task;
        }
    }
}

// The same H.264 input re-encoded once with automatic codec threads and once with one thread:
// the same number of pictures and audio frames over the same time.
TEST_F(EngineTest, CodecThreadsKeepTheFramesAndTheDuration) {
    const std::string folder = TestFolder();
    const std::string clip = SmallClip(3.0, "f4v");
    TReadBack results[2];
    for (const bool automatic : {true, false}) {
        engine.ClearTasks();
        ForgetNotices();
        engine.SetAutoCodecThreads(automatic);
        const std::string output = folder + (automatic ? "/threads.mp4" : "/single.mp4");
        AddConversion(clip, output, "vcodec=libx264\nacodec=aac\nab=64000");
        engine.StartTask(0);
        ASSERT_TRUE(HasFinalNotice());
        ASSERT_TRUE(Notices().front().Info.Finished) << Notices().front().Info.ExceptionMsg;
        results[automatic ? 0 : 1] = ReadBack(output);
    }
    const TReadBack& threaded = results[0];
    const TReadBack& single = results[1];
    ASSERT_TRUE(threaded.Opened);
    ASSERT_TRUE(single.Opened);
    for (const AVMediaType kind : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
        ASSERT_NE(threaded.First(kind), nullptr);
        ASSERT_NE(single.First(kind), nullptr);
        EXPECT_EQ(threaded.First(kind)->Packets, single.First(kind)->Packets) << kind;
        EXPECT_NEAR(threaded.First(kind)->Seconds, single.First(kind)->Seconds, 0.001) << kind;
    }
    EXPECT_EQ(threaded.First(AVMEDIA_TYPE_VIDEO)->Packets, 75);  // 3 s at 25 pictures a second
    // x264 works on several frames at once: with more than one core it gets two threads a core.
    EXPECT_EQ(X264Threads(folder + "/threads.mp4"), Cores() > 1 ? 2 * Cores() : 1);
    EXPECT_EQ(X264Threads(folder + "/single.mp4"), 1);
}

}  // namespace
}  // namespace kestrova::testing
