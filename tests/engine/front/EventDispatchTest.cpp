// The dispatchers behind the four events, called the way a task calls them: the records they
// fill, the flags the hook hands back, the thread each handler runs on, and their locks.
#include "tests/engine/front/EngineTestSupport.h"

#include <atomic>
#include <functional>
#include <stdexcept>

namespace kestrova::testing {
namespace {

class EventDispatchTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(engine.AddTask(SmallClip(1.0)), 0) << engine.LastErrMsg();
        ASSERT_EQ(engine.AddTask(SmallClip(1.0)), 1) << engine.LastErrMsg();
        TOutputOptions hooked;
        hooked.CustomHook = true;
        ASSERT_TRUE(engine.SetOutputFile(1, TestFolder() + "/hooked.mkv", &hooked)) << engine.LastErrMsg();
        bitmap.SetSize(4, 2);
    }

    // Runs `raise` on a thread of its own, as a worker would, while this (the main) thread runs
    // the calls handed to it; the id of that thread.
    std::thread::id RaiseFromWorker(const std::function<void()>& raise) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            raise();
            done = true;
        });
        const std::thread::id id = worker.get_id();
        MainThread::WaitUntil([&] { return done.load(); });
        worker.join();
        return id;
    }

    TEngineBitmap bitmap;
};

struct THookCase {
    const char* Name;
    std::function<void(THookInfo&)> Handler;
    bool Update;
    bool StopHook;
};

// The hook runs on the task's thread even with TriggerEventInMainThread, with the flags as the
// task passed them, and whatever the handler leaves in them goes back to the task.
TEST_F(EventDispatchTest, TheHookRunsOnTheTasksThreadAndHandsTheFlagsBack) {
    const THookCase cases[] = {
            {"leaves both flags", [](THookInfo&) {}, true, false},
            {"keeps the picture as it was", [](THookInfo& info) { info.Update = false; }, false, false},
            {"stops the hook", [](THookInfo& info) { info.StopHook = true; }, true, true},
    };
    for (const THookCase& test : cases) {
        THookInfo seen;
        std::thread::id handlerThread;
        engine.OnCustomHook = [&](TCustomFFmpegEngine&, THookInfo* info) {
            seen = *info;
            handlerThread = std::this_thread::get_id();
            test.Handler(*info);
        };
        TFFmpeg& task = engine.Task(1);
        bool stopHook = false;
        bool update = true;
        const std::thread::id worker =
                RaiseFromWorker([&] { task.OnCustomHook(task, bitmap, stopHook, update, 1234567, 42); });
        EXPECT_EQ(handlerThread, worker) << test.Name;
        EXPECT_EQ(seen.TaskIndex, 1) << test.Name;
        EXPECT_EQ(seen.Bitmap, &bitmap) << test.Name;
        EXPECT_EQ(seen.FrameNumber, 42) << test.Name;
        EXPECT_EQ(seen.PTS, 1234567) << test.Name;
        EXPECT_TRUE(seen.Update) << test.Name;
        EXPECT_FALSE(seen.StopHook) << test.Name;
        EXPECT_EQ(update, test.Update) << test.Name;
        EXPECT_EQ(stopHook, test.StopHook) << test.Name;
    }
}

// A failing handler leaves the flags as they were and reaches the task, which logs it; the
// hook lock is free again for the next picture.
TEST_F(EventDispatchTest, AFailingHookHandlerReachesTheTaskWithTheFlagsUnchanged) {
    engine.OnCustomHook = [](TCustomFFmpegEngine&, THookInfo* info) {
        info->StopHook = true;
        throw std::runtime_error("drawing failed");
    };
    TFFmpeg& task = engine.Task(1);
    bool stopHook = false;
    bool update = true;
    for (int picture = 0; picture < 2; ++picture) {
        try {
            task.OnCustomHook(task, bitmap, stopHook, update, 0, static_cast<uint32_t>(picture));
            ADD_FAILURE() << "the handler's failure was lost";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "drawing failed");
        }
    }
    EXPECT_FALSE(stopHook);
    EXPECT_TRUE(update);
}

class MarshallingTest : public EventDispatchTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MarshallingTest, PreviewBitmapsRunOnTheMainThreadWhenAsked) {
    engine.SetTriggerEventInMainThread(GetParam());
    TPreviewInfo seen;
    std::thread::id handlerThread;
    engine.OnPreviewBitmap = [&](TCustomFFmpegEngine&, const TPreviewInfo& info) {
        seen = info;
        handlerThread = std::this_thread::get_id();
    };
    TFFmpeg& task = engine.Task(0);
    const std::thread::id worker = RaiseFromWorker([&] { task.OnPreviewBitmap(task, bitmap, 5000, 3); });
    EXPECT_EQ(handlerThread, GetParam() ? std::this_thread::get_id() : worker);
    EXPECT_EQ(seen.TaskIndex, 0);
    EXPECT_EQ(seen.Bitmap, &bitmap);
    EXPECT_EQ(seen.FrameNumber, 3);
    EXPECT_EQ(seen.PTS, 5000);
}

TEST_P(MarshallingTest, ProgressRunsOnTheMainThreadWhenAskedWithTheJobsNumbers) {
    engine.SetTriggerEventInMainThread(GetParam());
    TProgressInfo seen;
    std::thread::id handlerThread;
    engine.OnProgress = [&](TCustomFFmpegEngine&, TProgressInfo* info) {
        seen = *info;
        handlerThread = std::this_thread::get_id();
    };
    TJobProgress progress;
    progress.InputIndex = 0;
    progress.TotalDuration = 9000000;
    progress.CurrentDuration = 4500000;
    progress.TotalSize = 123456;
    progress.BitRate = 219.5f;
    progress.Quality = 3.5f;
    progress.Fps = 24;
    progress.FrameNumber = 108;
    TFFmpeg& task = engine.Task(1);
    const std::thread::id worker = RaiseFromWorker([&] { task.OnProgress(task, progress); });
    EXPECT_EQ(handlerThread, GetParam() ? std::this_thread::get_id() : worker);
    EXPECT_EQ(seen.TaskIndex, 1);
    EXPECT_EQ(seen.FileIndex, 0);
    EXPECT_EQ(seen.FrameNumber, 108);
    EXPECT_EQ(seen.FPS, 24);
    EXPECT_FLOAT_EQ(seen.Quality, 3.5f);
    EXPECT_FLOAT_EQ(seen.BitRate, 219.5f);
    EXPECT_EQ(seen.TotalSize, 123456);
    EXPECT_EQ(seen.CurrentDuration, 4500000);
    EXPECT_EQ(seen.TotalDuration, 9000000);
}

INSTANTIATE_TEST_SUITE_P(MainThreadOrNot, MarshallingTest, ::testing::Bool());

// Two tasks report at once: one handler call at a time, each with its own task's record.
TEST_F(EventDispatchTest, ConcurrentReportsQueueOnTheProgressLock) {
    engine.SetTriggerEventInMainThread(false);
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> mixedUp{0};
    engine.OnProgress = [&](TCustomFFmpegEngine&, TProgressInfo* info) {
        if (++inside != 1) ++overlaps;
        const int task = info->TaskIndex;
        std::this_thread::yield();  // room for another report to barge in
        if (info->FrameNumber != task) ++mixedUp;
        --inside;
    };
    std::vector<std::thread> workers;
    for (int index = 0; index < 2; ++index) {
        workers.emplace_back([this, index] {
            TFFmpeg& task = engine.Task(index);
            TJobProgress progress;
            progress.FrameNumber = index;
            for (int report = 0; report < 500; ++report) task.OnProgress(task, progress);
        });
    }
    for (std::thread& worker : workers) worker.join();
    EXPECT_EQ(overlaps, 0);
    EXPECT_EQ(mixedUp, 0);
}

// The host may assign and clear a handler while a worker raises the event.
TEST_F(EventDispatchTest, AHandlerCanBeReplacedWhileAWorkerRaisesItsEvent) {
    engine.SetTriggerEventInMainThread(false);
    std::atomic<int> calls{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        TFFmpeg& task = engine.Task(0);
        for (int report = 0; report < 2000; ++report) task.OnProgress(task, TJobProgress{});
        done = true;
    });
    auto counted = std::make_shared<int>(0);
    while (!done) {
        engine.OnProgress = [&calls, counted](TCustomFFmpegEngine&, TProgressInfo*) {
            ++*counted;
            ++calls;
        };
        engine.OnProgress = nullptr;
    }
    worker.join();
    EXPECT_LE(calls, 2000);
}

}  // namespace
}  // namespace kestrova::testing
