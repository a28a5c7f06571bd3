#include "tools/cli/ComponentRun.h"

#include "tools/cli/StopSignals.h"

#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/MainThread.h"
#include "engine/front/FFmpegEngine.h"

#include <algorithm>
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

int RunTasks(TFFmpegEngine& engine, int processes, const TTaskLines& lines, TQueueConsole& console) {
    std::vector<char> finished(static_cast<std::size_t>(lines.LineCount), 0);
    std::atomic<bool> allDone{false};
    const auto lineOf = [&lines](int task) {
        return task >= 0 && task < static_cast<int>(lines.LineOfTask.size())
                       ? lines.LineOfTask[static_cast<std::size_t>(task)]
                       : -1;
    };
    engine.OnProgress = [&console, &lineOf](TCustomFFmpegEngine&, TProgressInfo* info) {
        console.ShowProgress(lineOf(info->TaskIndex), JobProgressOf(*info));
    };
    // Notices come one after another on notice threads.
    engine.OnTerminate = [&](TCustomFFmpegEngine&, const TTerminateInfo& info) {
        if (info.TaskIndex < 0) {
            allDone = true;
            return;
        }
        const int line = lineOf(info.TaskIndex);
        TTerminateInfo shown = info;
        const bool done = info.Finished && !info.Exception;
        const std::string failure = lines.OnTaskEnd ? lines.OnTaskEnd(line, info) : std::string();
        if (!failure.empty()) {
            shown.Exception = true;
            shown.ExceptionMsg = failure;
        }
        if (line >= 0) finished[static_cast<std::size_t>(line)] = done && failure.empty();
        console.ShowEnd(line, shown);
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
    const auto count = std::count(finished.begin(), finished.end(), 1);
    console.PrintLine(std::to_string(count) + " of " + std::to_string(lines.LineCount) + " tasks finished");
    for (int line = 0; line < lines.LineCount; ++line)
        if (!finished[static_cast<std::size_t>(line)]) console.PrintTaskLine(line);
    return count == lines.LineCount ? 0 : 1;
}

}  // namespace kestrova::cli
