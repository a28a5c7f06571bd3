#pragma once
// Running tasks on the engine component for the queue and profile modes: the engine's log on
// the queue console, and the run itself, N tasks at a time, until every task has ended or a
// stop signal stops them all.
#include "tools/cli/LogWatch.h"
#include "tools/cli/QueueConsole.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

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

// The tasks of a run as the console numbers them: each engine task's line, and how many lines
// there are (a task that could not be set up has its line but no engine task).
struct TTaskLines {
    std::vector<int> LineOfTask;  // by engine task index
    int LineCount = 0;
    // Called as each engine task ends, with its line and its notice; the reason the task must
    // count as failed after all, or "".
    std::function<std::string(int line, const TTerminateInfo& info)> OnTaskEnd;
};

// Runs every task of the engine on `processes` worker threads and waits for the final notice;
// a stop signal stops every task after the packet at hand (outputs complete). The exit code:
// 0 when the task of every line finished, 1 otherwise; the count is shown at the end, and
// every line whose task did not finish.
int RunTasks(TFFmpegEngine& engine, int processes, const TTaskLines& lines, TQueueConsole& console);

}  // namespace kestrova::cli
