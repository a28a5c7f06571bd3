#pragma once
// TCustomFFmpegEngine: the engine component's state, its properties, its four event locks with
// their records, the dispatchers its tasks call back, and the launching of tasks. TFFmpegEngine
// (FFmpegEngine.h) adds the operations a host calls.
//
// Threads. Every public operation is called from the host's main thread. Tasks call the
// dispatchers from their workers (or, in a run without threads, from the caller of StartTask):
// OnCustomHook runs there; OnProgress and OnPreviewBitmap run on the main thread when
// TriggerEventInMainThread is set (the worker waits for them); terminate notices of a threaded
// run reach OnTerminate on notice threads of the component, one after another in the order they
// were given, the notice with TaskIndex -1 last. Whenever the main thread waits here (for a lock
// a worker holds, or for a stopping task) it keeps running the calls workers hand to it.
#include "engine/core/RunEvents.h"
#include "engine/frame/AVProbe.h"
#include "engine/frame/ThreadPriority.h"
#include "engine/front/EngineEvents.h"
#include "engine/front/FFmpegList.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kestrova {

class TCustomFFmpegEngine {
public:
    TCustomFFmpegEngine();
    virtual ~TCustomFFmpegEngine();
    TCustomFFmpegEngine(const TCustomFFmpegEngine&) = delete;
    TCustomFFmpegEngine& operator=(const TCustomFFmpegEngine&) = delete;

    // --- Properties ----------------------------------------------------------------------
    const std::string& About() const { return FAbout; }
    void SetAbout(const std::string& about) { FAbout = about; }
    static std::string Version() { return "3.0"; }
    // The preview-window flag of new tasks; setting it also sets or clears it on every task.
    bool Preview() const { return FPreview; }
    void SetPreview(bool on);
    // The preview-bitmap flag of new tasks; setting it also applies to every task.
    bool PreviewBitmap() const { return FPreviewBitmap; }
    void SetPreviewBitmap(bool on);
    // Milliseconds between progress reports of a task; 100 at least.
    int ProgressInterval() const { return FProgressInterval; }
    void SetProgressInterval(int milliseconds);
    // The priority of every worker of a threaded run.
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority priority) { FThreadPriority = priority; }
    // OnProgress and OnPreviewBitmap run on the main thread (the worker waits for them).
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool on) { FTriggerEventInMainThread = on; }
    // Each task launched gets decoder and encoder threads: the processor cores shared among the
    // tasks that run at once (at least one each; a frame-threaded encoder with more than one core
    // takes two threads per core). Off: the codecs keep the job's thread count.
    bool AutoCodecThreads() const { return FAutoCodecThreads; }
    void SetAutoCodecThreads(bool on) { FAutoCodecThreads = on; }

    // Text of the last failure of a component call.
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    // The component's own probe, for inspecting a file before it becomes a task. Made on first
    // use, once the media libraries are loaded (raises "LibAVCodec not loaded." ... before).
    TAVProbe& AVProbe();
    int TasksCount() const { return FTasks.Count(); }
    // The task at `index` (std::out_of_range when there is none): its probes, its kept records,
    // its run state. Read what a running task changes only after its terminate notice.
    TFFmpeg& Task(int index) const { return FTasks.Item(index); }

    // --- Events --------------------------------------------------------------------------
    TEventHandler<TCustomHookEvent> OnCustomHook;
    TEventHandler<TPreviewBitmapEvent> OnPreviewBitmap;
    TEventHandler<TProgressEvent> OnProgress;
    TEventHandler<TTerminateEvent> OnTerminate;

protected:
    // The dispatchers, called by the tasks through the callbacks InstallCallbacks gives them.
    virtual void DoCustomHook(TCustomFFmpeg& job, TEngineBitmap& bitmap, bool& stopHook, bool& update,
                              int64_t pts, uint32_t frameNumber);
    virtual void DoPreviewBitmap(TCustomFFmpeg& job, const TEngineBitmap& bitmap, int64_t pts,
                                 uint32_t frameNumber);
    virtual void DoProgress(TCustomFFmpeg& job, const TJobProgress& progress);
    virtual void DoTerminate(TCustomFFmpeg& job);

    TCustomHookCallback CustomHookCallback();
    TPreviewBitmapCallback PreviewBitmapCallback();
    TProgressCallback ProgressCallback();
    TTerminateCallback TerminateCallback();

    // Holds the terminate lock (the same thread may take it again). The main thread keeps
    // running the calls workers hand to it while it waits for the lock.
    class TTerminateLock {
    public:
        explicit TTerminateLock(TCustomFFmpegEngine& engine);
        ~TTerminateLock();
        TTerminateLock(const TTerminateLock&) = delete;
        TTerminateLock& operator=(const TTerminateLock&) = delete;

    private:
        std::unique_lock<std::recursive_mutex> FLock;
    };

    // Under the terminate lock: a new run over every task of the list; an empty list gives the
    // final notice at once.
    void BeginRun(int threadCount);
    // Under the terminate lock: takes the next task of the run (null when none remains).
    TFFmpeg* PickNextTask();
    // Starts a picked task: threaded runs on a worker (under the terminate lock; parked while
    // the run is paused), else in this thread, returning once the task has terminated (not
    // under the terminate lock).
    void StartPickedTask(TFFmpeg& task);
    // Under the terminate lock: nothing more is launched; false when no run is going on.
    bool EndLaunches();
    // Whether the calling thread may wait for tasks to end: not while it holds the terminate
    // lock, nor in a threaded run while it holds another event lock or runs a handler a worker
    // waits for (a task it waits for could need that lock or that worker).
    bool CanWaitForTasks() const;
    // Main thread: waits for the final notice of the run, then raises what an OnTerminate
    // handler called in this thread raised.
    void FinishRunInThisThread();
    // Waits until the host's handler has returned for every notice given so far (the main
    // thread keeps running the calls workers hand to it). Not under the terminate lock.
    void WaitForNotices();
    // Stops the run and frees the tasks: the first step of destruction.
    void Shutdown();
    // Raises "LibAVCodec not loaded." (and so on for avformat, avutil, swscale) when a library
    // a job or a probe needs is missing.
    static void CheckMediaLibraries();

    std::string FLastErrMsg;
    TFFmpegList FTasks;
    // Run state, under the terminate lock (the working flag is the main thread's own).
    int FTerminatedCount = 0;
    int FNextIndex = -1;
    int FRemaining = 0;
    std::atomic<bool> FAllDone{false};
    bool FThreadMode = false;
    int FThreadCount = 0;
    bool FWorking = false;
    bool FStopping = false;  // Stop was called in this run
    bool FPaused = false;    // Pause was called, Resume still to come: launches stay parked
    int FVerboseLevel = 1;

private:
    class TDoTerminateThread;

    // The hook and the two marshalled events, each under its lock.
    template <class TCall>
    void RaiseMarshalled(TCall& call);
    int TaskIndexOf(const TCustomFFmpeg& job) const;
    // The tasks that run at once from the launch at hand on; the core shares the cores by it.
    int TasksAtOnceFromLaunch() const;
    // Under the terminate lock: the terminate record to OnTerminate (on a notice thread in a
    // threaded run, else here).
    void DeliverTerminate();
    void GiveFinalNotice();
    static void WaitForFuture(const std::shared_future<void>& future);

    std::string FAbout;
    std::unique_ptr<TAVProbe> FAVProbe;
    bool FPreview = false;
    bool FPreviewBitmap = false;
    std::atomic<int> FProgressInterval{500};
    std::atomic<TThreadPriority> FThreadPriority{tpNormal};
    std::atomic<bool> FTriggerEventInMainThread{true};
    std::atomic<bool> FAutoCodecThreads{true};
    std::atomic<bool> FShutDown{false};  // the tasks are being freed: they raise no more events

    std::mutex FHookLock;
    std::mutex FPreviewLock;
    std::mutex FProgressLock;
    std::recursive_mutex FTerminateLock;
    THookInfo FHookInfo;
    TPreviewInfo FPreviewInfo;
    TProgressInfo FProgressInfo;
    TTerminateInfo FTerminateInfo;

    // Notice threads of the run, each waiting for the one before it; joined at the end.
    std::vector<std::unique_ptr<TDoTerminateThread>> FNoticeThreads;
    std::shared_future<void> FLastNotice;
    // The first exception an OnTerminate handler raised in a run without threads.
    std::exception_ptr FHandlerError;
};

}  // namespace kestrova
