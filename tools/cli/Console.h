#pragma once
// What kestrova-cli shows on standard error: every log line, and on an interactive terminal the
// progress as one line that updates in place.
#include "engine/core/CustomFFmpeg.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace kestrova::cli {

class TConsole {
public:
    // `progressLine`: show progress on one updating line (only sensible on a terminal).
    TConsole(std::FILE* stream, bool progressLine);

    bool ShowsProgress() const { return FProgressLine; }
    void PrintLogLine(const std::string& line);
    void ShowProgress(const TJobProgress& progress);
    // Ends the progress line so that what follows starts on a line of its own.
    void FinishProgress();
    void PrintError(const std::string& message);

private:
    void ClearProgressLine();

    std::FILE* FStream;
    bool FProgressLine;
    std::string FShownProgress;  // the progress text now on screen; empty when none
    std::mutex FLock;            // log lines may come from library threads
};

// "time=00:01:05 size=    1.25MB  42%" (the percentage only with a known total duration).
std::string ProgressText(const TJobProgress& progress);

}  // namespace kestrova::cli
