#pragma once
// What kestrova-cli shows on standard error in queue mode: every log line, and the progress of
// each task. On an interactive terminal the tasks have one line each, kept in a block below the
// log and updated in place; elsewhere every report is a plain line of its own.
#include "engine/core/RunEvents.h"
#include "engine/front/EngineEvents.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace kestrova::cli {

class TQueueConsole {
public:
    // `taskNames`: what names each task on its line (its first output).
    TQueueConsole(std::FILE* stream, bool terminal, std::vector<std::string> taskNames);

    void PrintLogLine(const std::string& line);
    void ShowProgress(int task, const TJobProgress& progress);
    void ShowEnd(int task, const TTerminateInfo& info);
    // "failed: <reason>" for a task that could not be set up.
    void ShowFailure(int task, const std::string& reason);
    // A line of the program itself (below the task block; the block stays in place).
    void PrintLine(const std::string& line);
    // The task's line as it stands, as a line of the program.
    void PrintTaskLine(int task);

private:
    void SetTaskText(int task, const std::string& text);
    void EraseBlock();
    void DrawBlock();
    std::string TaskLine(int task) const;

    std::FILE* FStream;
    bool FTerminal;
    int FColumns = 0;  // of the terminal; 0 when unknown
    std::vector<std::string> FNames;
    std::vector<std::string> FTexts;  // each task's state or progress
    bool FBlockShown = false;
    std::mutex FLock;  // log lines come from the workers, notices from notice threads

    // Each task's first report, which its time left is measured from.
    struct TPace {
        bool Started = false;
        std::chrono::steady_clock::time_point FirstTime;
        int64_t FirstCurrent = 0;
    };
    std::string TimeLeftText(int task, const TJobProgress& progress);
    std::vector<TPace> FPaces;
};

// "finished", "stopped" or "failed: <reason>".
std::string EndText(const TTerminateInfo& info);

// The numbers of a component progress report as the job gave them.
TJobProgress JobProgressOf(const TProgressInfo& info);

}  // namespace kestrova::cli
