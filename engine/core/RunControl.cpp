// Starting, running, stopping and ending a job, and the end-of-run notice that every run gives
// exactly once, also when its start fails.
#include "CustomFFmpeg.h"

#include "FFmpegException.h"
#include "frame/FFmpegLogger.h"
#include "frame/MainThread.h"

#include <atomic>
#include <memory>

namespace kestrova {

void TCustomFFmpeg::StartConvert(bool threaded, int priority) {
    (void)priority;  // worker threads and their priorities come with the threaded runs
    if (FState.Running || FState.Terminated) return;
    if (FFiles.NbOutputFiles == 0 || FFiles.NbInputFiles == 0) {
        const bool noOutput = FFiles.NbOutputFiles == 0;
        ReleaseJob();
        FailRun(noOutput ? "At least one output file must be specified" : "At least one input file must be specified");
        GiveTerminateNotice();
        return;
    }
    if (threaded) throw FFmpegException("TODO: running a job on a worker thread is not built yet");
    FState.Running = true;
    FStopRequested = false;
    FState.FinishedNormally = false;
    FState.Terminated = false;
    RunConvert();
}

void TCustomFFmpeg::RunConvert() {
    FState.FinishedNormally = false;
    try {
        Transcode();
    } catch (const std::exception& error) {
        FailRun(error.what());
    } catch (...) {
        FailRun("Unknown error");
    }
    // Whatever happened: nothing stays open.
    CloseOpenCodecs();
    FRunTables.reset();
    ReleaseJob();
    GiveTerminateNotice();
}

void TCustomFFmpeg::FailRun(const std::string& message) {
    TFFLogger::Instance().Log(this, llQuiet, message);
    FState.Failed = true;
    FState.FailureText = message;
}

void TCustomFFmpeg::GiveTerminateNotice() {
    FState.Running = false;
    FState.Terminated = true;
    if (OnTerminate) OnTerminate(*this);
}

void TCustomFFmpeg::StopConvert(bool wait) {
    FStopRequested = true;
    // A run in the calling thread has ended before anyone can wait for it; a notice on its way
    // is waited for.
    if (wait && FNoticeThread.joinable() && FNoticeThread.get_id() != std::this_thread::get_id())
        FNoticeThread.join();
}

void TCustomFFmpeg::TerminateConvert(bool wait) {
    if (FState.Running) {
        StopConvert(wait);
        return;
    }
    // A notice already on its way is given before this call decides anything.
    if (FNoticeThread.joinable()) FNoticeThread.join();
    if (FState.Terminated) return;
    // A job that never started gets its notice from a thread of its own, as a run would.
    auto done = std::make_shared<std::atomic<bool>>(false);
    FNoticeThread = std::jthread([this, done] {
        GiveTerminateNotice();
        *done = true;
    });
    if (!wait) return;
    MainThread::WaitUntil([&done] { return done->load(); });
    FNoticeThread.join();
}

} // namespace kestrova
