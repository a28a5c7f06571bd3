// The component's calls outside a run: properties, adding tasks with their records and probes,
// outputs and their limit, the run guard, removing and clearing tasks.
#include "tests/engine/front/EngineTestSupport.h"

#include <filesystem>
#include <functional>
#include <stdexcept>

namespace kestrova::testing {
namespace {

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "<no exception>";
}

TEST_F(EngineTest, PropertiesStartAtTheirDefaults) {
    EXPECT_EQ(engine.About(), "");
    EXPECT_EQ(engine.Version(), "3.0");
    EXPECT_FALSE(engine.Preview());
    EXPECT_FALSE(engine.PreviewBitmap());
    EXPECT_EQ(engine.ProgressInterval(), 500);
    EXPECT_EQ(engine.ThreadPriority(), tpNormal);
    EXPECT_TRUE(engine.TriggerEventInMainThread());
    EXPECT_TRUE(engine.AutoCodecThreads());
    EXPECT_EQ(engine.TasksCount(), 0);
    EXPECT_EQ(engine.AVProbe().StreamCount(), -1);
    EXPECT_TRUE(engine.AVLibLoaded());
}

TEST_F(EngineTest, ProgressIntervalIsAtLeast100Milliseconds) {
    const std::pair<int, int> cases[] = {{50, 100}, {100, 100}, {101, 101}, {-1, 100}, {2000, 2000}};
    for (const auto& [set, read] : cases) {
        engine.SetProgressInterval(set);
        EXPECT_EQ(engine.ProgressInterval(), read) << "set " << set;
    }
}

TEST_F(EngineTest, AddTaskAppliesTheInputRecordAndAttachesTheTasksProbe) {
    const std::string clip = SmallClip(2.0);
    TInputOptions record;
    record.ProgramID = 0;
    ASSERT_EQ(engine.AddTask(clip, &record), 0) << engine.LastErrMsg();
    EXPECT_EQ(record.FileName, clip);  // the caller's record takes the name
    TFFmpeg& task = engine.Task(0);
    EXPECT_EQ(task.KeptInputOptions(0).ProgramID, 0);
    EXPECT_EQ(task.KeptInputOptions(1).ProgramID, -1);  // untouched slots keep the defaults
    EXPECT_EQ(task.NbInputFiles(), 1);

    TAVProbe& probe = task.InputProbe(0);
    EXPECT_EQ(probe.StreamCount(), 2);
    EXPECT_EQ(probe.FileName(), clip);
    EXPECT_NEAR(static_cast<double>(probe.GetFileStreamInfo().Duration) / 1e6, 2.0, 0.1);
    EXPECT_FALSE(task.HasInputProbe(1));
    EXPECT_EQ(engine.AVProbe().StreamCount(), -1);  // the component's own probe is the host's
}

TEST_F(EngineTest, AddTaskFailuresGiveTheReasonAndAddNothing) {
    const std::string missing = TestFolder() + "/missing.flv";
    EXPECT_EQ(engine.AddTask(missing), -1);
    EXPECT_EQ(engine.LastErrMsg(), missing + ": no such file or directory");

    // A bad value in the record's option text raises inside; the call reports it.
    TInputOptions record;
    record.ExtOptions = "qscale=0";
    EXPECT_EQ(engine.AddTask(SmallClip(1.0), &record), -1);
    EXPECT_EQ(engine.LastErrMsg(), "qscale must be > 0.0 and <= 255");
    EXPECT_EQ(engine.TasksCount(), 0);
}

TEST_F(EngineTest, AnOutputRecordIsKeptPerSlotAndAFailedOutputLeavesItsSlotAtTheDefaults) {
    const std::string folder = TestFolder();
    ASSERT_EQ(engine.AddTask(SmallClip(1.0)), 0);
    TFFmpeg& task = engine.Task(0);

    TOutputOptions refused;
    refused.VideoBitrate = 300000;
    EXPECT_FALSE(engine.SetOutputFile(0, folder + "/out.nosuchformat", &refused));
    EXPECT_EQ(engine.LastErrMsg(),
              "Unable to find a suitable output format for '" + folder + "/out.nosuchformat'");
    EXPECT_EQ(task.KeptOutputOptions(0).VideoBitrate, -1);
    // Its stream lines fail once the output was added (a file takes 1000 streams): taken away.
    TOutputOptions tooMany = refused;
    for (int stream = 0; stream < 1000; ++stream) tooMany.ExtOptions += "newaudio=\n";
    EXPECT_FALSE(engine.SetOutputFile(0, folder + "/many.mkv", &tooMany));
    EXPECT_EQ(task.NbOutputFiles(), 0);
    EXPECT_EQ(task.KeptOutputOptions(0).VideoBitrate, -1);
    EXPECT_FALSE(std::filesystem::exists(folder + "/many.mkv"));

    TOutputOptions first;
    first.VideoBitrate = 300000;
    ASSERT_TRUE(engine.SetOutputFile(0, folder + "/first.mkv", &first)) << engine.LastErrMsg();
    EXPECT_EQ(first.FileName, folder + "/first.mkv");
    EXPECT_EQ(task.KeptOutputOptions(0).VideoBitrate, 300000);
    ASSERT_TRUE(engine.SetOutputFile(0, folder + "/second.mkv")) << engine.LastErrMsg();
    EXPECT_EQ(task.KeptOutputOptions(1).VideoBitrate, -1);
    EXPECT_EQ(task.NbOutputFiles(), 2);

    EXPECT_FALSE(engine.SetOutputFile(5, folder + "/third.mkv"));
    EXPECT_EQ(engine.LastErrMsg(), "List index out of bounds (5)");
}

TEST_F(EngineTest, ATaskTakesTwentyOutputs) {
    const std::string folder = TestFolder();
    ASSERT_EQ(engine.AddTask(SmallClip(1.0)), 0);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(engine.SetOutputFile(0, folder + "/out" + std::to_string(i) + ".mkv"))
                << engine.LastErrMsg();
    EXPECT_FALSE(engine.SetOutputFile(0, folder + "/out20.mkv"));
    EXPECT_EQ(engine.LastErrMsg(), "max output files 20 reached");
}

// Only an output that asks for the custom hook gives the task the hook callback.
TEST_F(EngineTest, TheCustomHookIsInstalledByTheOutputThatAsksForIt) {
    const std::string folder = TestFolder();
    ASSERT_EQ(engine.AddTask(SmallClip(1.0)), 0);
    TFFmpeg& task = engine.Task(0);
    EXPECT_TRUE(task.OnPreviewBitmap);
    TOutputOptions plain;
    ASSERT_TRUE(engine.SetOutputFile(0, folder + "/plain.mkv", &plain));
    EXPECT_FALSE(task.OnCustomHook);

    TOutputOptions hooked;
    hooked.CustomHook = true;
    EXPECT_FALSE(engine.SetOutputFile(0, folder + "/hooked.nosuchformat", &hooked));
    EXPECT_FALSE(task.OnCustomHook);  // that output was never added
    ASSERT_TRUE(engine.SetOutputFile(0, folder + "/hooked.mkv", &hooked));
    EXPECT_TRUE(task.OnCustomHook);
}

TEST_F(EngineTest, RemoveTaskMovesTheTasksBehindItDown) {
    const std::string clips[] = {SmallClip(1.0), SmallClip(2.0), SmallClip(3.0)};
    for (const std::string& clip : clips) ASSERT_GE(engine.AddTask(clip), 0);
    engine.RemoveTask(1);
    ASSERT_EQ(engine.TasksCount(), 2);
    EXPECT_EQ(engine.Task(0).InputProbe(0).FileName(), clips[0]);
    EXPECT_EQ(engine.Task(1).InputProbe(0).FileName(), clips[2]);
    EXPECT_EQ(ErrorOf([&] { engine.RemoveTask(2); }), "List index out of bounds (2)");
}

// A waiting task made again with another input record keeps its place and converts with it; a
// file that cannot be opened leaves the task as it was.
TEST_F(EngineTest, ReplaceTaskGivesTheTaskItsNewInputRecordInItsPlace) {
    const std::string folder = TestFolder();
    const std::string clips[] = {SmallClip(3.0), SmallClip(1.0)};
    for (const std::string& clip : clips) ASSERT_GE(engine.AddTask(clip), 0);
    TInputOptions trimmed;
    trimmed.StartTime = 2000000;
    ASSERT_TRUE(engine.ReplaceTask(0, clips[0], &trimmed)) << engine.LastErrMsg();
    EXPECT_FALSE(engine.ReplaceTask(0, folder + "/gone.flv"));
    EXPECT_FALSE(engine.ReplaceTask(2, clips[0]));
    ASSERT_EQ(engine.TasksCount(), 2);
    EXPECT_EQ(engine.Task(1).InputProbe(0).FileName(), clips[1]);
    TOutputOptions copy;
    copy.ExtOptions = "vcodec=mpeg4\nacodec=copy";
    ASSERT_TRUE(engine.SetOutputFile(0, folder + "/trimmed.mkv", &copy)) << engine.LastErrMsg();
    engine.RemoveTask(1);
    engine.StartTask(0);
    EXPECT_NEAR(ReadBack(folder + "/trimmed.mkv").First(AVMEDIA_TYPE_VIDEO)->Seconds, 1.0, 0.1);
}

TEST_F(EngineTest, PreviewFlagsReachTheTasksAlreadyInTheListAndNewOnes) {
    ASSERT_EQ(engine.AddTask(SmallClip(1.0)), 0);
    const auto flags = [&](int index) { return static_cast<int>(engine.Task(index).PreviewFlags()); };
    engine.SetPreview(true);
    EXPECT_EQ(flags(0), kPreviewWindowFlag);
    engine.SetPreviewBitmap(true);
    ASSERT_EQ(engine.AddTask(SmallClip(1.0)), 1);
    EXPECT_EQ(flags(0), kPreviewWindowFlag | kPreviewBitmapFlag);
    EXPECT_EQ(flags(1), kPreviewWindowFlag | kPreviewBitmapFlag);
    engine.SetPreview(false);
    EXPECT_EQ(flags(0), kPreviewBitmapFlag);
    EXPECT_EQ(flags(1), kPreviewBitmapFlag);
}

// The guarded calls raise while a run is working (here: its one task parked) and after it is
// all done; ClearTasks raises only while it works, and afterwards the component starts afresh.
TEST_F(EngineTest, TheRunGuardHoldsUntilClearTasks) {
    const std::string folder = TestFolder();
    // Long enough that the pause comes before its end.
    AddConversion(SmallClip(20.0, "f4v"), folder + "/guarded.mkv", "vcodec=mpeg4\nacodec=copy");
    engine.StartTask(1);
    engine.Pause();
    const std::pair<const char*, std::function<void()>> guarded[] = {
            {"AddTask", [&] { engine.AddTask(SmallClip(1.0)); }},
            {"SetOutputFile", [&] { engine.SetOutputFile(0, folder + "/more.mkv"); }},
            {"RemoveTask", [&] { engine.RemoveTask(0); }},
            {"StartTask", [&] { engine.StartTask(1); }},
    };
    for (const auto& [name, call] : guarded)
        EXPECT_EQ(ErrorOf(call), std::string("Cannot ") + name + " while working.");
    EXPECT_EQ(ErrorOf([&] { engine.ClearTasks(); }), "Cannot ClearTasks while working.");

    engine.Resume();
    ASSERT_TRUE(WaitForFinalNotice());
    for (const auto& [name, call] : guarded)
        EXPECT_EQ(ErrorOf(call), std::string("Cannot ") + name + " while working.");
    EXPECT_EQ(engine.TasksCount(), 1);

    engine.ClearTasks();
    EXPECT_EQ(engine.TasksCount(), 0);
    EXPECT_EQ(engine.LastErrMsg(), "");
    EXPECT_EQ(engine.AddTask(SmallClip(1.0)), 0) << engine.LastErrMsg();
}

}  // namespace
}  // namespace kestrova::testing
