#include "engine/front/CustomFFmpegEngine.h"

#include "engine/frame/ConvertThreads.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/MainThread.h"

#include <algorithm>
#include <stdexcept>

namespace kestrova {

namespace {

// The component's locks this thread holds: the terminate lock, and the other three (or a
// handler that runs for a worker holding one of them).
thread_local int terminateLockDepth = 0;
thread_local int eventLockDepth = 0;

class TEventLockScope {
public:
    TEventLockScope() { ++eventLockDepth; }
    ~TEventLockScope() { --eventLockDepth; }
    TEventLockScope(const TEventLockScope&) = delete;
    TEventLockScope& operator=(const TEventLockScope&) = delete;
};

// A worker may hold the lock while it waits for the main thread to run its event: the main
// thread runs such calls while it waits for the lock.
template <class TMutex>
void LockServingMainThread(std::unique_lock<TMutex>& lock) {
    if (lock.try_lock()) return;
    if (MainThread::IsMainThread())
        MainThread::WaitUntil([&lock] { return lock.try_lock(); });
    else
        lock.lock();
}

}  // namespace

// Gives one terminate notice to the host's handler on a thread of its own, after the notice
// given before it has been handled: notices reach the host in the order they were given.
class TCustomFFmpegEngine::TDoTerminateThread {
public:
    TDoTerminateThread(TCustomFFmpegEngine& engine, const TTerminateInfo& info,
                       std::shared_ptr<const TTerminateEvent> handler, std::shared_future<void> previous)
        : FEngine(engine), FInfo(info), FHandler(std::move(handler)), FPrevious(std::move(previous)),
          FDone(FDonePromise.get_future().share()), FTask([this] { Run(); }) {}

    std::shared_future<void> Done() const { return FDone; }
    bool Finished() const { return FTask.Finished(); }
    void WaitFor() { FTask.WaitFor(); }

private:
    void Run() {
        if (FPrevious.valid()) FPrevious.wait();
        try {
            (*FHandler)(FEngine, FInfo);
        } catch (...) {
            // The host's handler failed on a thread of its own: nobody there to tell.
        }
        FDonePromise.set_value();
    }

    TCustomFFmpegEngine& FEngine;
    const TTerminateInfo FInfo;
    const std::shared_ptr<const TTerminateEvent> FHandler;
    const std::shared_future<void> FPrevious;
    std::promise<void> FDonePromise;
    const std::shared_future<void> FDone;
    TTaskThread FTask;  // last: started once everything above exists
};

TCustomFFmpegEngine::TTerminateLock::TTerminateLock(TCustomFFmpegEngine& engine)
    : FLock(engine.FTerminateLock, std::defer_lock) {
    LockServingMainThread(FLock);
    ++terminateLockDepth;
}

TCustomFFmpegEngine::TTerminateLock::~TTerminateLock() {
    --terminateLockDepth;
}

TCustomFFmpegEngine::TCustomFFmpegEngine() = default;

TCustomFFmpegEngine::~TCustomFFmpegEngine() {
    Shutdown();
}

void TCustomFFmpegEngine::Shutdown() {
    if (FShutDown) return;
    {
        TTerminateLock lock(*this);
        FRemaining = 0;
        FShutDown = true;
    }
    // A dispatch in progress finishes before the tasks go.
    for (std::mutex* eventLock : {&FHookLock, &FPreviewLock, &FProgressLock}) {
        std::unique_lock lock(*eventLock, std::defer_lock);
        LockServingMainThread(lock);
    }
    { TTerminateLock lock(*this); }
    FTasks.Clear();
    for (const auto& notice : FNoticeThreads) notice->WaitFor();
    FNoticeThreads.clear();
}

void TCustomFFmpegEngine::CheckMediaLibraries() {
    const TFFmpegLoader& loader = TFFmpegLoader::Instance();
    if (!loader.IsLoaded(libAVCodec)) throw std::runtime_error("LibAVCodec not loaded.");
    if (!loader.IsLoaded(libAVFormat)) throw std::runtime_error("LibAVFormat not loaded.");
    if (!loader.IsLoaded(libAVUtil)) throw std::runtime_error("LibAVUtil not loaded.");
    if (!loader.IsLoaded(libSWScale)) throw std::runtime_error("LibSwScale not loaded.");
}

TAVProbe& TCustomFFmpegEngine::AVProbe() {
    // The probe takes library memory when it is made: not before the libraries are there.
    if (!FAVProbe) {
        CheckMediaLibraries();
        FAVProbe = std::make_unique<TAVProbe>();
    }
    return *FAVProbe;
}

void TCustomFFmpegEngine::SetPreview(bool on) {
    FPreview = on;
    FTasks.SetPreviewFlag(kPreviewWindowFlag, on);
}

void TCustomFFmpegEngine::SetPreviewBitmap(bool on) {
    FPreviewBitmap = on;
    FTasks.SetPreviewFlag(kPreviewBitmapFlag, on);
}

void TCustomFFmpegEngine::SetProgressInterval(int milliseconds) {
    FProgressInterval = std::max(milliseconds, 100);
}

TCustomHookCallback TCustomFFmpegEngine::CustomHookCallback() {
    return [this](TCustomFFmpeg& job, TEngineBitmap& bitmap, bool& stopHook, bool& update, int64_t pts,
                  uint32_t frameNumber) { DoCustomHook(job, bitmap, stopHook, update, pts, frameNumber); };
}

TPreviewBitmapCallback TCustomFFmpegEngine::PreviewBitmapCallback() {
    return [this](TCustomFFmpeg& job, const TEngineBitmap& bitmap, int64_t pts, uint32_t frameNumber) {
        DoPreviewBitmap(job, bitmap, pts, frameNumber);
    };
}

TProgressCallback TCustomFFmpegEngine::ProgressCallback() {
    return [this](TCustomFFmpeg& job, const TJobProgress& progress) { DoProgress(job, progress); };
}

TTerminateCallback TCustomFFmpegEngine::TerminateCallback() {
    return [this](TCustomFFmpeg& job) { DoTerminate(job); };
}

int TCustomFFmpegEngine::TaskIndexOf(const TCustomFFmpeg& job) const {
    return FTasks.IndexOf(job);
}

template <class TCall>
void TCustomFFmpegEngine::RaiseMarshalled(TCall& call) {
    if (!FTriggerEventInMainThread) {
        call();
        return;
    }
    MainThread::RunSync([&call] {
        const TEventLockScope scope;  // the worker waiting for this call holds an event lock
        call();
    });
}

void TCustomFFmpegEngine::DoCustomHook(TCustomFFmpeg& job, TEngineBitmap& bitmap, bool& stopHook,
                                       bool& update, int64_t pts, uint32_t frameNumber) {
    if (FShutDown) return;
    const TEventLockScope scope;
    std::unique_lock lock(FHookLock, std::defer_lock);
    LockServingMainThread(lock);
    const auto handler = OnCustomHook.Current();
    if (!handler) return;
    FHookInfo.TaskIndex = TaskIndexOf(job);
    FHookInfo.Bitmap = &bitmap;
    FHookInfo.FrameNumber = static_cast<int32_t>(frameNumber);
    FHookInfo.PTS = pts;
    FHookInfo.Update = update;
    FHookInfo.StopHook = stopHook;
    // Never marshalled: the picture is the worker's, and the worker goes on with it.
    (*handler)(*this, &FHookInfo);
    update = FHookInfo.Update;
    stopHook = FHookInfo.StopHook;
}

void TCustomFFmpegEngine::DoPreviewBitmap(TCustomFFmpeg& job, const TEngineBitmap& bitmap, int64_t pts,
                                          uint32_t frameNumber) {
    if (FShutDown) return;
    const TEventLockScope scope;
    std::unique_lock lock(FPreviewLock, std::defer_lock);
    LockServingMainThread(lock);
    const auto handler = OnPreviewBitmap.Current();
    if (!handler) return;
    FPreviewInfo.TaskIndex = TaskIndexOf(job);
    FPreviewInfo.Bitmap = &bitmap;
    FPreviewInfo.FrameNumber = static_cast<int32_t>(frameNumber);
    FPreviewInfo.PTS = pts;
    auto call = [this, &handler] { (*handler)(*this, FPreviewInfo); };
    RaiseMarshalled(call);
}

void TCustomFFmpegEngine::DoProgress(TCustomFFmpeg& job, const TJobProgress& progress) {
    if (FShutDown) return;
    const TEventLockScope scope;
    std::unique_lock lock(FProgressLock, std::defer_lock);
    LockServingMainThread(lock);
    const auto handler = OnProgress.Current();
    if (!handler) return;
    FProgressInfo.TaskIndex = TaskIndexOf(job);
    FProgressInfo.FileIndex = progress.InputIndex;
    FProgressInfo.FrameNumber = progress.FrameNumber;
    FProgressInfo.FPS = progress.Fps;
    FProgressInfo.Quality = progress.Quality;
    FProgressInfo.BitRate = progress.BitRate;
    FProgressInfo.TotalSize = progress.TotalSize;
    FProgressInfo.CurrentDuration = progress.CurrentDuration;
    FProgressInfo.TotalDuration = progress.TotalDuration;
    auto call = [this, &handler] { (*handler)(*this, &FProgressInfo); };
    RaiseMarshalled(call);
}

void TCustomFFmpegEngine::DoTerminate(TCustomFFmpeg& job) {
    TTerminateLock lock(*this);
    // While the component goes, its tasks are going too: none is touched any more.
    if (FShutDown) return;
    // The job has just released its inputs.
    static_cast<TFFmpeg&>(job).DetachInputProbes();
    if (!FWorking) return;
    if (OnTerminate) {
        const TRunState& state = job.RunState();
        FTerminateInfo.TaskIndex = TaskIndexOf(job);
        FTerminateInfo.Finished = state.FinishedNormally;
        FTerminateInfo.Exception = state.Failed;
        FTerminateInfo.ExceptionMsg = state.FailureText;
        DeliverTerminate();
    }
    ++FTerminatedCount;
    if (FRemaining < 1) {
        if (FTerminatedCount >= FTasks.Count()) GiveFinalNotice();
    } else if (FThreadMode) {
        if (TFFmpeg* next = PickNextTask()) StartPickedTask(*next);
    }
}

void TCustomFFmpegEngine::DeliverTerminate() {
    const auto handler = OnTerminate.Current();
    if (!handler) return;
    if (FThreadMode) {
        std::erase_if(FNoticeThreads, [](const auto& notice) { return notice->Finished(); });
        FNoticeThreads.push_back(
                std::make_unique<TDoTerminateThread>(*this, FTerminateInfo, handler, FLastNotice));
        FLastNotice = FNoticeThreads.back()->Done();
        return;
    }
    try {
        (*handler)(*this, FTerminateInfo);
    } catch (...) {
        // Raised again by StartTask once the run has ended: the run itself goes on.
        if (!FHandlerError) FHandlerError = std::current_exception();
    }
}

void TCustomFFmpegEngine::GiveFinalNotice() {
    FTerminateInfo.TaskIndex = -1;
    FTerminateInfo.Finished = true;
    FTerminateInfo.Exception = false;
    FTerminateInfo.ExceptionMsg.clear();
    DeliverTerminate();
    FAllDone = true;
}

void TCustomFFmpegEngine::BeginRun(int threadCount) {
    FTerminatedCount = 0;
    FNextIndex = 0;
    FRemaining = FTasks.Count();
    FAllDone = false;
    FThreadMode = threadCount > 0;
    FThreadCount = threadCount;
    FWorking = true;
    FStopping = false;
    FHandlerError = nullptr;
    if (FRemaining == 0) GiveFinalNotice();
}

TFFmpeg* TCustomFFmpegEngine::PickNextTask() {
    if (FRemaining < 1) return nullptr;
    --FRemaining;
    TFFmpeg& task = FTasks.Item(FNextIndex);
    // Moved on before the start: a task that cannot start gives its notice within its start,
    // and in a threaded run that notice launches the task after it.
    ++FNextIndex;
    task.SetProgressInterval(static_cast<int64_t>(FProgressInterval) * 1000);
    if (FAutoCodecThreads)
        task.ShareCodecCores(TasksAtOnceFromLaunch());
    else
        task.SetCodecCores(0);
    return &task;
}

int TCustomFFmpegEngine::TasksAtOnceFromLaunch() const {
    // The run's threads, or fewer when fewer tasks are left (this one included).
    const int unfinished = FTasks.Count() - FTerminatedCount;
    return FThreadMode ? std::min(FThreadCount, unfinished) : 1;
}

void TCustomFFmpegEngine::StartPickedTask(TFFmpeg& task) {
    if (!FThreadMode) {
        task.Launch(false, tpNormal);
        return;
    }
    if (TConvertThread* worker = task.Launch(true, FThreadPriority)) worker->Resume();
}

bool TCustomFFmpegEngine::EndLaunches() {
    TTerminateLock lock(*this);
    if (!FWorking || FAllDone) return false;
    FRemaining = 0;
    FStopping = true;
    return true;
}

bool TCustomFFmpegEngine::CanWaitForTasks() const {
    return terminateLockDepth == 0 && !(FThreadMode && eventLockDepth > 0);
}

void TCustomFFmpegEngine::FinishRunInThisThread() {
    // Tasks a Stop cancelled give their notices from threads of their own.
    MainThread::WaitUntil([this] { return FAllDone.load(); });
    std::exception_ptr error;
    {
        TTerminateLock lock(*this);
        std::swap(error, FHandlerError);
    }
    if (error) std::rethrow_exception(error);
}

}  // namespace kestrova
