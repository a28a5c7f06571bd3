#include "tools/cli/ComponentRun.h"

#include "tools/cli/StopSignals.h"

#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/MainThread.h"
#include "engine/front/FFmpegEngine.h"

#include <atomic>

namespace kestrova::cli {

TConsoleLog::TConsoleLog(TQueueConsole& console, TLogWatch& watch) {
    TFFLogger& logger = TFFLogger::Instance();
    logger.TriggerEventInMainThread = false;
    logger.OnLog = [this, &console, &watch](const void*, uint32_t, TLogLevel, const std::string& line) {
        watch.See(line);
        if (!FMuted) console.PrintLogLine(ShownLogLine(line));
    };
}

TConsoleLog::~TConsoleLog() {
    TFFLogger::Instance().OnLog = nullptr;
}

int RunTasks(TFFmpegEngine& engine, int processes, int taskCount, TQueueConsole& console) {
    std::atomic<int> finished{0};
    std::atomic<bool> allDone{false};
    engine.OnProgress = [&console](TCustomFFmpegEngine&, TProgressInfo* info) {
        console.ShowProgress(info->TaskIndex, JobProgressOf(*info));
    };
    // Notices come one after another on notice threads.
    engine.OnTerminate = [&](TCustomFFmpegEngine&, const TTerminateInfo& info) {
        if (info.TaskIndex < 0) {
            allDone = true;
            return;
        }
        if (info.Finished && !info.Exception) ++finished;
        console.ShowEnd(info);
    };

    if (TStopSignals::Requested()) {
        console.PrintLine("stopped before any task ran");
        return 1;
    }
    engine.StartTask(processes);
    MainThread::WaitUntil([&] { return allDone || TStopSignals::Requested(); });
    if (!allDone) {
        console.PrintLine("stopping every task");
        engine.Stop(true);
        MainThread::WaitUntil([&] { return allDone.load(); });
    }
    engine.OnProgress = nullptr;
    engine.OnTerminate = nullptr;
    console.PrintLine(std::to_string(finished.load()) + " of " + std::to_string(taskCount) +
                      " tasks finished");
    return finished == taskCount ? 0 : 1;
}

}  // namespace kestrova::cli
