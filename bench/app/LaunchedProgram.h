#pragma once
// The real program started as a user starts it, for the start-up benchmarks: a fresh process
// of build/bin/kestrova with an empty queue, on the display of the environment (off screen
// when there is none). It creates a marker file once its window has been drawn.
#include <sys/types.h>

#include <chrono>
#include <string>

namespace kestrova::bench {

class TLaunchedProgram {
public:
    // Starts the program; throws std::runtime_error when it cannot.
    explicit TLaunchedProgram(const std::string& scratchDir);
    // Terminates the program and waits for it.
    ~TLaunchedProgram();
    TLaunchedProgram(const TLaunchedProgram&) = delete;
    TLaunchedProgram& operator=(const TLaunchedProgram&) = delete;

    // Waits until the window has been drawn and returns the time from the start; throws
    // std::runtime_error when the program ends first or takes longer than 10 s.
    std::chrono::duration<double> WaitUntilShown();

    // The program's resident memory now, in KiB.
    long ResidentKiB() const;

private:
    std::string FMarker;
    pid_t FPid = -1;
    std::chrono::steady_clock::time_point FStarted;
};

}  // namespace kestrova::bench
