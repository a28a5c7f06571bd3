// Starting, running, stopping and ending a job, and the end-of-run notice that every run gives
// exactly once, also when its start fails. A threaded run happens on a worker the job owns; the
// job joins it (and every other thread it started) before it goes.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/run/RunTables.h"
#include "engine/core/video/VideoPathState.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/LogLabel.h"
#include "engine/frame/MainThread.h"

#include <algorithm>
#include <memory>

namespace kestrova {

TConvertThread* TCustomFFmpeg::StartConvert(bool threaded, TThreadPriority priority) {
    if (FState.Running || FState.Terminated) return nullptr;
    if (FOutputs.NbOutputFiles == 0 || FFiles.NbInputFiles == 0) {
        const bool noOutput = FOutputs.NbOutputFiles == 0;
        ReleaseJob();
        FailRun(noOutput ? "At least one output file must be specified"
                         : "At least one input file must be specified");
        GiveTerminateNotice();
        return nullptr;
    }
    FState.Running = true;
    FStopRequested = false;
    FState.FinishedNormally = false;
    FState.Terminated = false;
    if (!threaded) {
        RunConvert();
        return nullptr;
    }
    FWorker = std::make_unique<TConvertThread>([this] { RunConvert(); }, priority);
    FLiveWorker = FWorker.get();
    return FWorker.get();
}

void TCustomFFmpeg::RunConvert() {
    const TLogThreadLabel label(FLogLabel);
    FState.FinishedNormally = false;
    try {
        PrepareInputs();
        Transcode();
    } catch (const std::exception& error) {
        FailRun(error.what());
    } catch (...) {
        FailRun("Unknown error");
    }
    // Whatever happened: nothing stays open.
    CloseOpenCodecs();
    FRunTables.reset();
    FVideoPath->Previewer.reset();  // the preview window closes with its run
    ReleaseJob();
    GiveTerminateNotice();
}

void TCustomFFmpeg::FailRun(const std::string& message) {
    TFFLogger::Instance().Log(this, llQuiet, message);
    FState.Failed = true;
    FState.FailureText = message;
}

void TCustomFFmpeg::GiveTerminateNotice() {
    PassSuspendGate();
    FState.Running = false;
    FState.Terminated = true;
    // Cleared after the state above, so whoever sees no worker also sees the job terminated;
    // and before the handler, which may stop or inspect the job.
    FLiveWorker = nullptr;
    if (OnTerminate) OnTerminate(*this);
}

bool TCustomFFmpeg::KeepRunning() {
    PassSuspendGate();
    return !FStopRequested;
}

void TCustomFFmpeg::PassSuspendGate() {
    // Only the worker itself parks: a pause never blocks the thread that asked for it.
    if (TConvertThread* worker = FLiveWorker.load(); worker && worker->IsCallingThread()) worker->PassGate();
}

void TCustomFFmpeg::SuspendConvert() {
    if (TConvertThread* worker = FLiveWorker.load(); worker && !worker->Suspended()) worker->Suspend();
}

void TCustomFFmpeg::ResumeConvert() {
    if (TConvertThread* worker = FLiveWorker.load(); worker && worker->Suspended()) worker->Resume();
}

void TCustomFFmpeg::StopConvert(bool wait) {
    if (TConvertThread* worker = FLiveWorker.load()) {
        FStopRequested = true;
        worker->Resume();  // a parked worker could never see the request
        // Pruned here: waiters of earlier stops whose worker has gone.
        std::erase_if(FWaitThreads, [](const auto& waiter) { return waiter->Finished(); });
        auto waiter = std::make_unique<TWaitThread>([this] { return FLiveWorker.load() != nullptr; });
        if (!wait) {
            FWaitThreads.push_back(std::move(waiter));
            return;
        }
        waiter->WaitFor();
        // The handler of the notice still runs on the worker: it is done before this returns,
        // unless this is that handler.
        if (!worker->IsCallingThread()) worker->WaitFor();
        return;
    }
    if (FState.Running) {  // a run in the calling thread of another caller (or a signal)
        FStopRequested = true;
        return;
    }
    // A notice already on its way is given before this call decides anything.
    if (FNoticeThread) FNoticeThread->WaitFor();
    if (FState.Terminated) return;
    // A job that never started gets its notice from a thread of its own, as a run would.
    FNoticeThread = std::make_unique<TDoTerminateThread>([this] { GiveTerminateNotice(); });
    if (wait) FNoticeThread->WaitFor();
}

void TCustomFFmpeg::TerminateConvert(bool wait) {
    StopConvert(wait);
}

void TCustomFFmpeg::EndThreads() {
    // A job that never started gets no notice here: its handler may belong to what is going.
    if (FLiveWorker.load()) StopConvert(true);
    if (FWorker) FWorker->WaitFor();
    FWaitThreads.clear();
    if (FNoticeThread) FNoticeThread->WaitFor();
}

}  // namespace kestrova
