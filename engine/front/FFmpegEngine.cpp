#include "engine/front/FFmpegEngine.h"

#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/Text.h"

#include <memory>
#include <optional>
#include <stdexcept>

namespace kestrova {

TFFmpegEngine::~TFFmpegEngine() {
    // Here, before the dispatchers' class changes: workers still call them while tasks stop.
    Shutdown();
}

void TFFmpegEngine::CheckNotWorking(const char* operation) const {
    if (FWorking) throw std::runtime_error(FormatText("Cannot %s while working.", operation));
}

bool TFFmpegEngine::AVLibLoaded() const {
    return TFFmpegLoader::Instance().AllLoaded(RequiredLibraries());
}

bool TFFmpegEngine::LoadAVLib(const std::string& libraryFolder) {
    if (LoadMediaLibraries(libraryFolder)) return true;
    FLastErrMsg = TFFmpegLoader::Instance().LastError();
    return false;
}

int TFFmpegEngine::AddTask(const std::string& fileName, TInputOptions* inputOptions) {
    CheckNotWorking("AddTask");
    std::unique_ptr<TFFmpeg> task = MakeTask(fileName, inputOptions);
    return task ? FTasks.Add(std::move(task)) : -1;
}

bool TFFmpegEngine::ReplaceTask(int taskIndex, const std::string& fileName, TInputOptions* inputOptions) {
    CheckNotWorking("ReplaceTask");
    try {
        FTasks.Item(taskIndex);  // the bounds check, before any file work
    } catch (const std::exception& error) {
        FLastErrMsg = error.what();
        return false;
    }
    std::unique_ptr<TFFmpeg> task = MakeTask(fileName, inputOptions);
    if (!task) return false;
    FTasks.Replace(taskIndex, std::move(task));
    return true;
}

std::unique_ptr<TFFmpeg> TFFmpegEngine::MakeTask(const std::string& fileName, TInputOptions* inputOptions) {
    try {
        CheckMediaLibraries();  // a job needs them from its first call on
        auto task = std::make_unique<TFFmpeg>();
        task->ResetJob();
        task->SetHostInterrupt(FHostInterrupt);
        task->SetVerbose(FVerboseLevel);
        task->SetPreview(Preview());
        task->SetPreviewBitmap(PreviewBitmap());
        task->OnPreviewBitmap = PreviewBitmapCallback();
        const int slot = task->NbInputFiles();
        if (inputOptions) {
            task->KeptInputOptions(slot) = *inputOptions;
            ApplyInputOptions(*task, *inputOptions, fileName);
        }
        if (!task->AddInputFile(fileName)) {
            FLastErrMsg = task->LastError();
            return nullptr;
        }
        task->AttachInputProbe(slot);
        // What a waiting task holds stays small: its input is opened again at its launch.
        task->SetInputAside(fileName, inputOptions ? &task->KeptInputOptions(slot) : nullptr);
        task->OnProgress = ProgressCallback();
        task->OnTerminate = TerminateCallback();
        return task;
    } catch (const std::exception& error) {
        FLastErrMsg = error.what();
        return nullptr;
    }
}

bool TFFmpegEngine::SetOutputFile(int taskIndex, const std::string& fileName, TOutputOptions* outputOptions) {
    CheckNotWorking("SetOutputFile");
    TFFmpeg* task = nullptr;
    TOutputOptions* kept = nullptr;
    TCustomHookCallback previousHook;
    std::optional<TFFmpeg::TOutputsMark> before;
    try {
        task = &FTasks.Item(taskIndex);
        const int slot = task->NbOutputFiles();
        if (slot >= kMaxFiles) {
            FLastErrMsg = FormatText("max output files %d reached", kMaxFiles);
            return false;
        }
        kept = &task->KeptOutputOptions(slot);
        previousHook = task->OnCustomHook;
        before = task->MarkOutputs();
        bool join = false;
        if (outputOptions) {
            *kept = *outputOptions;
            ApplyOutputOptions(*task, *outputOptions, fileName);
            if (outputOptions->CustomHook) task->OnCustomHook = CustomHookCallback();
            join = outputOptions->Join;
        } else {
            InitOutputOptions(*kept);
        }
        if (task->AddOutputFile(fileName, join) < 0) throw std::runtime_error(task->LastError());
        if (outputOptions) ApplyOutputOptionsAfterAdd(*task, *outputOptions);
        return true;
    } catch (const std::exception& error) {
        FLastErrMsg = error.what();
        // The task is left as it was: no output, no record and no hook of this call.
        if (before) {
            task->RemoveOutputsSince(*before);
            InitOutputOptions(*kept);
            task->OnCustomHook = previousHook;
        }
        return false;
    }
}

void TFFmpegEngine::RemoveTask(int taskIndex) {
    CheckNotWorking("RemoveTask");
    FTasks.Delete(taskIndex);
}

void TFFmpegEngine::ClearTasks() {
    {
        TTerminateLock lock(*this);
        if (FWorking && !FAllDone) throw std::runtime_error("Cannot ClearTasks while working.");
        FTerminatedCount = 0;
        FNextIndex = -1;
        FRemaining = 0;
        FAllDone = false;
        FThreadMode = false;
        FWorking = false;
        FStopping = false;
        FPaused = false;
    }
    // Every task has terminated: freeing one joins what is left of its threads.
    FTasks.Clear();
    FLastErrMsg.clear();
}

void TFFmpegEngine::StartTask(int threadCount) {
    CheckNotWorking("StartTask");
    {
        TTerminateLock lock(*this);
        BeginRun(threadCount);
    }
    if (threadCount > 0) {
        // The rest is launched by the tasks' ends, one for each.
        for (int launched = 0; launched < threadCount; ++launched) {
            TTerminateLock lock(*this);
            TFFmpeg* task = PickNextTask();
            if (!task) break;
            StartPickedTask(*task);
        }
        return;
    }
    for (;;) {
        TFFmpeg* task = nullptr;
        {
            TTerminateLock lock(*this);
            task = PickNextTask();
        }
        if (!task) break;
        StartPickedTask(*task);
    }
    FinishRunInThisThread();
}

void TFFmpegEngine::Pause() {
    // Under the terminate lock: a task ending now launches the next one parked.
    TTerminateLock lock(*this);
    if (FStopping) return;
    FPaused = true;
    FTasks.SuspendAll();
}

void TFFmpegEngine::Resume() {
    TTerminateLock lock(*this);
    FPaused = false;
    FTasks.ResumeAll();
}

void TFFmpegEngine::Stop(bool waitForStop) {
    if (!EndLaunches()) return;
    const bool wait = waitForStop && CanWaitForTasks();
    FTasks.StopAll(wait);
    if (wait) WaitForNotices();
}

}  // namespace kestrova
