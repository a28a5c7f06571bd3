// Launches racing the host's calls and the system: a Pause holds for tasks launched after it,
// and a worker that cannot be made still ends its task with a notice.
#include "tests/engine/front/EngineTestSupport.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <random>

namespace {

// While set, threads other than the main one cannot start threads (as when the system is out
// of them); the main thread's starts still go through.
std::atomic<bool> threadStartsRefused{false};

}  // namespace

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*body)(void*),
                              void* argument) {
    using TCreate = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto create = reinterpret_cast<TCreate>(::dlsym(RTLD_NEXT, "pthread_create"));
    if (threadStartsRefused && !kestrova::MainThread::IsMainThread()) return EAGAIN;
    return create(thread, attributes, body, argument);
}

namespace kestrova::testing {
namespace {

// Six short copies on one thread, paused at a random moment: from the Pause on, no task runs
// on an open gate, also when a task ends just after it and launches the next one.
TEST_F(EngineTest, APauseHoldsForTheTasksLaunchedAfterIt) {
    const std::string folder = TestFolder();
    const std::string clip = SmallClip(0.2);
    std::mt19937 random(20240612u);
    for (int cycle = 0; cycle < 30; ++cycle) {
        SCOPED_TRACE(::testing::Message() << "cycle " << cycle);
        engine.ClearTasks();
        ForgetNotices();
        for (int task = 0; task < 6; ++task)
            AddConversion(clip, folder + "/out" + std::to_string(task) + ".mkv", "vcodec=copy\nacodec=copy");
        engine.StartTask(1);
        const auto waitUntil = [](std::chrono::steady_clock::duration span, auto done) {
            const auto deadline = std::chrono::steady_clock::now() + span;
            MainThread::WaitUntil([&] { return done() || std::chrono::steady_clock::now() > deadline; });
        };
        waitUntil(std::chrono::milliseconds(std::uniform_int_distribution(0, 40)(random)),
                  [] { return false; });
        engine.Pause();
        bool running = false;
        waitUntil(std::chrono::milliseconds(100), [&] {
            for (int task = 0; task < engine.TasksCount(); ++task)
                if (const TConvertThread* worker = engine.Task(task).WorkerThread();
                    worker && !worker->Suspended())
                    running = true;
            return running;
        });
        ASSERT_FALSE(running) << "a task runs while the run is paused";
        engine.Resume();
        ASSERT_TRUE(WaitForFinalNotice());
    }
    engine.ClearTasks();
}

// A task ends while no thread can be started: the next tasks cannot get workers and fail with
// the reason, each with its notice, the notices given on the ending worker, and the final
// notice last; the component can be cleared.
TEST_F(EngineTest, TasksWhoseWorkersCannotBeMadeFailWithTheirNotices) {
    const std::string folder = TestFolder();
    for (int task = 0; task < 3; ++task)
        AddConversion(SmallClip(1.0), folder + "/out" + std::to_string(task) + ".mkv",
                      "vcodec=copy\nacodec=copy");
    threadStartsRefused = true;
    engine.StartTask(1);
    const bool ended = WaitForFinalNotice(std::chrono::seconds(30));
    threadStartsRefused = false;
    ASSERT_TRUE(ended);
    ASSERT_EQ(NoticeIndexes(), (std::vector<int>{0, 1, 2, -1}));
    const std::vector<TNotice> notices = Notices();
    EXPECT_TRUE(notices[0].Info.Finished) << notices[0].Info.ExceptionMsg;
    for (int task = 1; task < 3; ++task) {
        EXPECT_TRUE(notices[task].Info.Exception);
        EXPECT_EQ(notices[task].Info.ExceptionMsg, "Cannot start the task: Resource temporarily unavailable");
    }
    engine.ClearTasks();
}

}  // namespace
}  // namespace kestrova::testing
