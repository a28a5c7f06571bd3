#pragma once
// Running tasks on the engine component for the queue and profile modes: the engine's log on
// the queue console, and the run itself, N tasks at a time, until every task has ended or a
// stop signal stops them all.
#include "tools/cli/LogWatch.h"
#include "tools/cli/QueueConsole.h"

#include <atomic>

namespace kestrova {
class TFFmpegEngine;
}

namespace kestrova::cli {

// While it lives, every engine log line goes past the watch and, unless muted, to the console
// ("Invalid value" lines as warnings).
class TConsoleLog {
public:
    TConsoleLog(TQueueConsole& console, TLogWatch& watch);
    ~TConsoleLog();
    TConsoleLog(const TConsoleLog&) = delete;
    TConsoleLog& operator=(const TConsoleLog&) = delete;

    // Muted while checks run that would repeat what the tasks log themselves.
    void SetMuted(bool muted) { FMuted = muted; }

private:
    std::atomic<bool> FMuted{false};
};

// Runs every task of the engine on `processes` worker threads and waits for the final notice;
// a stop signal stops every task after the packet at hand (outputs complete). The exit code:
// 0 when each of the `taskCount` tasks finished, 1 otherwise; the count is shown at the end.
int RunTasks(TFFmpegEngine& engine, int processes, int taskCount, TQueueConsole& console);

}  // namespace kestrova::cli
