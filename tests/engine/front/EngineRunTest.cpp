// Runs of the component: in the calling thread and on worker threads, the launch order and the
// limit on tasks running at once, one notice per task and the final notice last, Stop, the
// progress event and the thread it runs on, what a task's probe reads after its run, and a source
// that is gone or changed between the add and the launch.
#include "tests/engine/front/EngineTestSupport.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <set>

namespace kestrova::testing {
namespace {

constexpr const char* kCopy = "vcodec=copy\nacodec=copy";
constexpr const char* kReencode = "vcodec=mpeg4\nacodec=copy";

// Three tasks, the middle one without an output: it reports why, and the run goes on. In the
// calling thread every notice has come when StartTask returns; on threads they follow.
class RunModeTest : public EngineTest, public ::testing::WithParamInterface<int> {};

TEST_P(RunModeTest, ATaskWithoutOutputReportsWhyAndTheRunGoesOn) {
    const int threadCount = GetParam();
    const std::string folder = TestFolder();
    AddConversion(SmallClip(1.0), folder + "/first.mkv", kCopy);
    ASSERT_EQ(engine.AddTask(SmallClip(1.0)), 1);
    AddConversion(SmallClip(1.0), folder + "/third.mkv", kCopy);

    engine.StartTask(threadCount);
    if (threadCount == 0)
        EXPECT_TRUE(HasFinalNotice());
    else
        ASSERT_TRUE(WaitForFinalNotice());

    // On threads the task without output ends while the first one still runs.
    std::vector<TNotice> notices = Notices();
    ASSERT_EQ(notices.size(), 4u);
    if (threadCount > 0)
        std::sort(notices.begin(), notices.end() - 1,
                  [](const TNotice& a, const TNotice& b) { return a.Info.TaskIndex < b.Info.TaskIndex; });
    for (int i = 0; i < 4; ++i) ASSERT_EQ(notices[i].Info.TaskIndex, i < 3 ? i : -1);
    EXPECT_TRUE(notices[0].Info.Finished);
    EXPECT_FALSE(notices[0].Info.Exception) << notices[0].Info.ExceptionMsg;
    EXPECT_FALSE(notices[1].Info.Finished);
    EXPECT_TRUE(notices[1].Info.Exception);
    EXPECT_EQ(notices[1].Info.ExceptionMsg, "At least one output file must be specified");
    EXPECT_TRUE(notices[2].Info.Finished);
    EXPECT_TRUE(notices[3].Info.Finished);
    EXPECT_FALSE(notices[3].Info.Exception);
    EXPECT_EQ(notices[3].Info.ExceptionMsg, "");
    EXPECT_TRUE(Logged("At least one output file must be specified"));
    for (const TNotice& notice : notices) {
        // In the calling thread, or never on the main thread.
        if (threadCount == 0)
            EXPECT_EQ(notice.Thread, std::this_thread::get_id());
        else
            EXPECT_NE(notice.Thread, std::this_thread::get_id());
    }
    for (const char* name : {"/first.mkv", "/third.mkv"}) {
        const TReadBack result = ReadBack(folder + name);
        ASSERT_TRUE(result.Opened) << name;
        EXPECT_NEAR(result.First(AVMEDIA_TYPE_VIDEO)->Seconds, 1.0, 0.1) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(ThreadCounts, RunModeTest, ::testing::Values(0, 2));

class EmptyRunTest : public EngineTest, public ::testing::WithParamInterface<int> {};

// A run over no task ends at once, and the component can be cleared and used again.
TEST_P(EmptyRunTest, StartTaskOnAnEmptyListGivesTheFinalNoticeAtOnce) {
    engine.StartTask(GetParam());
    ASSERT_TRUE(WaitForFinalNotice(std::chrono::seconds(10)));
    EXPECT_EQ(NoticeIndexes(), std::vector<int>{-1});
    engine.ClearTasks();
    EXPECT_EQ(engine.AddTask(SmallClip(1.0)), 0) << engine.LastErrMsg();
}

INSTANTIATE_TEST_SUITE_P(ThreadCounts, EmptyRunTest, ::testing::Values(0, 3));

// Checks the launch order from inside the progress handler, which runs on a task's own thread
// while it runs: no task can start and end unseen, however the threads are scheduled.
class TLaunchWatch {
public:
    explicit TLaunchWatch(TFFmpegEngine& engine) : FEngine(engine) {}
    void Report(int taskIndex) {
        std::lock_guard lock(FLock);
        int running = 0;
        for (int i = 0; i < FEngine.TasksCount(); ++i) {
            const auto& state = FEngine.Task(i).RunState();
            if (state.Running) ++running;
            // Every earlier task has begun (and maybe ended) by the time a later one reports.
            if (i < taskIndex && !state.Running && !state.Terminated) FOutOfOrder = true;
        }
        FMost = std::max(FMost, running);
        FSeen.insert(taskIndex);
    }
    int MostAtOnce() const { return FMost; }
    bool OutOfOrder() const { return FOutOfOrder; }
    size_t SeenCount() const { return FSeen.size(); }

private:
    TFFmpegEngine& FEngine;
    std::mutex FLock;
    int FMost = 0;
    bool FOutOfOrder = false;
    std::set<int> FSeen;
};

TEST_F(EngineTest, FiveTasksOnTwoThreadsRunTwoAtOnceInTaskOrder) {
    const std::string folder = TestFolder();
    for (int i = 0; i < 5; ++i)
        AddConversion(SmallClip(2.0), folder + "/out" + std::to_string(i) + ".mkv", kReencode);
    TLaunchWatch watch(engine);
    engine.OnProgress = [&](TCustomFFmpegEngine&, TProgressInfo* info) { watch.Report(info->TaskIndex); };
    engine.StartTask(2);
    // Both threads took a task at once, in order.
    EXPECT_TRUE(engine.Task(0).RunState().Running || engine.Task(0).RunState().Terminated);
    EXPECT_TRUE(engine.Task(1).RunState().Running || engine.Task(1).RunState().Terminated);
    for (int i = 2; i < 5; ++i) EXPECT_FALSE(engine.Task(i).RunState().Running) << i;

    ASSERT_TRUE(WaitForFinalNotice());
    engine.OnProgress = nullptr;
    EXPECT_GE(watch.MostAtOnce(), 1);
    EXPECT_LE(watch.MostAtOnce(), 2);
    EXPECT_EQ(watch.SeenCount(), 5u);
    EXPECT_FALSE(watch.OutOfOrder());

    std::vector<int> indexes = NoticeIndexes();
    ASSERT_EQ(indexes.size(), 6u);
    EXPECT_EQ(indexes.back(), -1);
    indexes.pop_back();
    std::sort(indexes.begin(), indexes.end());
    EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, 3, 4}));
    for (const TNotice& notice : Notices()) EXPECT_TRUE(notice.Info.Finished) << notice.Info.ExceptionMsg;
}

TEST_F(EngineTest, AStopWithWaitRightAfterTheStartEndsOneTaskAndCancelsTheOthers) {
    const std::string folder = TestFolder();
    // Long enough that the first task cannot end by itself before the stop.
    for (int i = 0; i < 3; ++i)
        AddConversion(SmallClip(20.0, "f4v"), folder + "/out" + std::to_string(i) + ".mp4", kReencode);
    engine.StartTask(1);
    engine.Stop(true);
    EXPECT_TRUE(engine.Task(0).RunState().Terminated);  // the wait covered the running task
    ASSERT_TRUE(WaitForFinalNotice());

    const std::vector<TNotice> notices = Notices();
    ASSERT_EQ(NoticeIndexes(), (std::vector<int>{0, 1, 2, -1}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(notices[i].Info.Finished) << i;
        EXPECT_FALSE(notices[i].Info.Exception) << notices[i].Info.ExceptionMsg;
    }
    EXPECT_FALSE(engine.Task(1).RunState().Running);
    EXPECT_FALSE(engine.Task(2).RunState().Running);
    // The stopped task's output is complete (an MP4 opens only with its trailer); a stop before
    // its first picture leaves no video track in it.
    const TReadBack stopped = ReadBack(folder + "/out0.mp4");
    ASSERT_TRUE(stopped.Opened);
    if (const TReadBackStream* video = stopped.First(AVMEDIA_TYPE_VIDEO)) {
        EXPECT_LT(video->Seconds, 19.0);
    }
    engine.ClearTasks();
}

// Without threads, a Stop from a progress handler ends the running task after its packet, and
// the tasks after it give their notices from threads of their own before StartTask returns.
TEST_F(EngineTest, WithoutThreadsAStopFromAHandlerCancelsTheTasksAfterTheRunningOne) {
    const std::string folder = TestFolder();
    for (int i = 0; i < 3; ++i)
        AddConversion(SmallClip(1.0), folder + "/out" + std::to_string(i) + ".mkv", kCopy);
    // The stream mapping is logged on the thread of the run as it sets up.
    bool stopped = false;
    TFFLogger::Instance().OnLog = [&](const void*, uint32_t, TLogLevel, const std::string& line) {
        if (stopped || line.find("Stream mapping:") == std::string::npos) return;
        stopped = true;
        engine.Stop(true);
    };
    engine.StartTask(0);
    ASSERT_TRUE(stopped);
    EXPECT_TRUE(HasFinalNotice());
    // The cancelled tasks' notices come while the running one still finishes its packet.
    ASSERT_EQ(NoticeIndexes(), (std::vector<int>{1, 2, 0, -1}));
    for (const TNotice& notice : Notices()) {
        EXPECT_EQ(notice.Thread == std::this_thread::get_id(), notice.Info.TaskIndex <= 0)
                << notice.Info.TaskIndex;
        if (notice.Info.TaskIndex >= 0) {
            EXPECT_FALSE(notice.Info.Finished) << notice.Info.TaskIndex;
        }
    }
}

// A handler that the main thread runs for a waiting worker stops the run: waiting there for the
// tasks could never end (that worker holds the progress lock until the handler returns), so the
// call returns at once and the notices follow.
TEST_F(EngineTest, AStopWithWaitFromAMarshalledHandlerReturnsAndTheNoticesFollow) {
    const std::string folder = TestFolder();
    // Read at the clip's own pace, so that the tasks report while they run.
    for (int i = 0; i < 2; ++i)
        AddConversion(SmallClip(20.0), folder + "/out" + std::to_string(i) + ".mkv",
                      "re=1\nvcodec=mpeg4\nacodec=copy");
    engine.SetProgressInterval(100);
    std::atomic<int> stops{0};
    engine.OnProgress = [&](TCustomFFmpegEngine& sender, TProgressInfo* info) {
        if (info->FileIndex < 0 || stops++ > 0) return;
        static_cast<TFFmpegEngine&>(sender).Stop(true);
    };
    TWatchdog watchdog(std::chrono::seconds(60));
    watchdog.Start(::testing::Message() << "the stopped run");
    engine.StartTask(2);
    ASSERT_TRUE(WaitForFinalNotice());
    EXPECT_GE(stops, 1);
    for (const TNotice& notice : Notices()) {
        if (notice.Info.TaskIndex >= 0) {
            EXPECT_FALSE(notice.Info.Finished) << notice.Info.TaskIndex;
        }
    }
}

struct TProgressSeen {
    int TaskIndex;
    int FileIndex;
    std::thread::id Thread;
};

class ProgressThreadTest : public EngineTest, public ::testing::WithParamInterface<bool> {};

// Progress reports reach the handler on the main thread when asked, else on the task's worker;
// every task's last report has file index -1.
TEST_P(ProgressThreadTest, ProgressReachesTheHandlerOnTheThreadAskedFor) {
    const bool inMainThread = GetParam();
    const std::string folder = TestFolder();
    for (int i = 0; i < 2; ++i)
        AddConversion(SmallClip(1.0), folder + "/out" + std::to_string(i) + ".mkv", kReencode);
    engine.SetTriggerEventInMainThread(inMainThread);
    std::mutex lock;
    std::vector<TProgressSeen> seen;
    engine.OnProgress = [&](TCustomFFmpegEngine&, TProgressInfo* info) {
        std::lock_guard guard(lock);
        seen.push_back({info->TaskIndex, info->FileIndex, std::this_thread::get_id()});
    };
    engine.StartTask(2);
    ASSERT_TRUE(WaitForFinalNotice());

    std::lock_guard guard(lock);
    ASSERT_FALSE(seen.empty());
    for (const TProgressSeen& report : seen) {
        EXPECT_EQ(report.Thread == std::this_thread::get_id(), inMainThread);
        EXPECT_TRUE(report.TaskIndex == 0 || report.TaskIndex == 1) << report.TaskIndex;
    }
    for (int task = 0; task < 2; ++task) {
        const auto last =
                std::find_if(seen.rbegin(), seen.rend(), [&](const auto& r) { return r.TaskIndex == task; });
        ASSERT_NE(last, seen.rend()) << task;
        EXPECT_EQ(last->FileIndex, -1) << task;
    }
}

INSTANTIATE_TEST_SUITE_P(MainThreadOrNot, ProgressThreadTest, ::testing::Bool());

// The task's input is closed when its run ends: its probe no longer refers to it.
TEST_F(EngineTest, ATasksProbeLetsGoOfTheInputWhenTheRunEnds) {
    AddConversion(SmallClip(1.0), TestFolder() + "/out.mkv", kCopy);
    EXPECT_EQ(engine.Task(0).InputProbe(0).StreamCount(), 2);
    engine.StartTask(1);
    ASSERT_TRUE(WaitForFinalNotice());
    TAVProbe& probe = engine.Task(0).InputProbe(0);
    EXPECT_EQ(probe.StreamCount(), -1);
    EXPECT_EQ(probe.FileSize(), -1);
    EXPECT_EQ(probe.GetFileStreamInfo().Duration, -1);
}

// A component that goes while its tasks run (reporting, or paused) ends the run as a Stop does:
// every task gives its one notice and the final notice comes last, the outputs are complete.
// Reports still on their way while it goes never reach a task list that is being freed (the
// threading suite's run of this test checks that).
TEST_F(EngineTest, DestroyingTheComponentMidRunStopsItsTasksWithTheirNotices) {
    const std::string folder = TestFolder();
    for (const bool paused : {false, true, false, true}) {
        std::vector<int> indexes;
        std::mutex lock;
        {
            TFFmpegEngine local;
            for (int i = 0; i < 3; ++i) {
                ASSERT_EQ(local.AddTask(SmallClip(20.0, "f4v")), i) << local.LastErrMsg();
                TOutputOptions record;
                record.ExtOptions = kReencode;
                ASSERT_TRUE(local.SetOutputFile(i, folder + "/out" + std::to_string(i) + ".mp4", &record));
            }
            bool reported = false;
            local.SetProgressInterval(100);
            local.OnProgress = [&](TCustomFFmpegEngine&, TProgressInfo*) { reported = true; };
            local.OnTerminate = [&](TCustomFFmpegEngine&, const TTerminateInfo& info) {
                std::lock_guard guard(lock);
                indexes.push_back(info.TaskIndex);
            };
            local.StartTask(2);
            MainThread::WaitUntil([&] { return reported; });
            if (paused) local.Pause();
        }
        ASSERT_EQ(indexes.size(), 4u) << "paused " << paused;
        EXPECT_EQ(indexes.back(), -1);
        std::sort(indexes.begin(), indexes.end() - 1);
        EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, -1}));
        EXPECT_TRUE(ReadBack(folder + "/out0.mp4").Opened);
        EXPECT_TRUE(ReadBack(folder + "/out1.mp4").Opened);
    }
}

// A waiting task keeps its input closed and opens it again at its launch: a source removed or
// replaced in between fails that task with the reason and leaves no output, the run goes on.
struct TSourceChange {
    const char* Name;
    void (*Apply)(const std::string& source);
    const char* Reason;
};

class SourceChangeTest : public EngineTest,
                         public ::testing::WithParamInterface<std::tuple<TSourceChange, int>> {};

TEST_P(SourceChangeTest, TheTaskFailsAtItsLaunchWithTheReasonAndTheRunGoesOn) {
    const auto& [change, threadCount] = GetParam();
    const std::string folder = TestFolder();
    const std::string source = folder + "/source.flv";
    std::filesystem::copy_file(SmallClip(1.0), source);
    AddConversion(source, folder + "/changed.mkv", kCopy);
    AddConversion(SmallClip(1.0), folder + "/kept.mkv", kCopy);
    change.Apply(source);

    engine.StartTask(threadCount);
    ASSERT_TRUE(WaitForFinalNotice());
    std::vector<TNotice> notices = Notices();
    ASSERT_EQ(notices.size(), 3u);
    std::sort(notices.begin(), notices.end() - 1,
              [](const TNotice& a, const TNotice& b) { return a.Info.TaskIndex < b.Info.TaskIndex; });
    EXPECT_FALSE(notices[0].Info.Finished);
    EXPECT_TRUE(notices[0].Info.Exception);
    EXPECT_EQ(notices[0].Info.ExceptionMsg, source + change.Reason);
    EXPECT_TRUE(Logged(source + change.Reason));
    EXPECT_FALSE(std::filesystem::exists(folder + "/changed.mkv"));
    EXPECT_TRUE(notices[1].Info.Finished) << notices[1].Info.ExceptionMsg;
    EXPECT_NEAR(ReadBack(folder + "/kept.mkv").First(AVMEDIA_TYPE_VIDEO)->Seconds, 1.0, 0.1);
    EXPECT_EQ(engine.Task(0).InputProbe(0).StreamCount(), -1);  // nothing of the source is held
}

const TSourceChange kSourceChanges[] = {
        {"Removed", [](const std::string& source) { std::filesystem::remove(source); },
         ": no such file or directory"},
        {"Replaced",
         [](const std::string& source) {
             std::filesystem::copy_file(SmallClip(2.0), source,
                                        std::filesystem::copy_options::overwrite_existing);
         },
         ": the file has changed since it was added"},
};

INSTANTIATE_TEST_SUITE_P(Changes, SourceChangeTest,
                         ::testing::Combine(::testing::ValuesIn(kSourceChanges), ::testing::Values(0, 2)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) + "_threads" +
                                    std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace kestrova::testing
