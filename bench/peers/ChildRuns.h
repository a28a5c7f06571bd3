#pragma once
// Programs the peer benchmark runs as its children, measured the way the kernel counts them:
// wall-clock time from the first start to the last end, processor seconds and peak resident
// memory of each child as wait4 reports them.
#include <string>
#include <vector>

namespace kestrova::bench {

// One program run: its arguments (the first names the program, looked up on PATH) and the
// file that takes its standard output and standard error.
struct TCommand {
    std::vector<std::string> Arguments;
    std::string LogFile;
};

// What one side of a case took.
struct TSideRun {
    double Wall = 0;           // seconds, first start to last end
    double Cpu = 0;            // processor seconds of every child, user and system
    double PeakMiB = 0;        // the largest peak resident memory of one child
    double PeakAtOnceMiB = 0;  // the children that ran side by side: the sum of each slot's peak
    std::string Failure;       // empty when every child exited with 0

    double CoresBusy() const { return Wall > 0 ? Cpu / Wall : 0; }
};

// Runs the commands in their order, `atOnce` of them at a time (a slot that frees up starts the
// next one at once). Throws std::runtime_error when a program cannot be started.
TSideRun RunCommands(const std::vector<TCommand>& commands, int atOnce);

// The first line a program prints for these arguments ("ffmpeg version ..."); empty when it
// cannot be run.
std::string FirstOutputLine(const std::vector<std::string>& arguments);

// Whether a program of that name is on PATH.
bool OnPath(const std::string& program);

}  // namespace kestrova::bench
