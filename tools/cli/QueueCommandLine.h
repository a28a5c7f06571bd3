#pragma once
// The queue mode of kestrova-cli: with "-processes N" anywhere on the command line,
//   kestrova-cli -processes N [options] -i IN1 [options] OUT1 [[options] OUT1b]... [options] -i IN2 ...
// each "-i" that follows an output starts the next task, and the options up to it belong to that
// task only: those before its "-i" to its input, those before an output to that output. "-y 1"
// lets only the task it is given in replace its existing outputs (given after the last output, it
// belongs to the last task). The tasks run on N worker threads of the engine component.
#include "tools/cli/CommandLine.h"

#include <string>
#include <utility>
#include <vector>

namespace kestrova::cli {

using TOptionPairs = std::vector<std::pair<std::string, std::string>>;

struct TQueueOutput {
    std::string FileName;
    TOptionPairs Options;
    bool Join = false;
};

struct TQueueTask {
    std::string Input;
    TOptionPairs InputOptions;
    std::vector<TQueueOutput> Outputs;
    bool Overwrite = false;  // its outputs may replace existing files
};

struct TQueueCommandLine {
    int Processes = 0;
    std::vector<TQueueTask> Tasks;
};

// Whether the steps ask for the queue mode ("-processes" among them).
bool IsQueueCommandLine(const std::vector<TCommandStep>& steps);

// The tasks of a queue command line. Raises ECommandLine for a -processes value that is not a
// whole number from 1 up, a second input of one task, an output before any input, options after
// the last output, an output option before an input, a value holding a line break, or no task.
TQueueCommandLine ParseQueueCommandLine(const std::vector<TCommandStep>& steps);

// The option pairs as the option text of the engine's records (one name=value line each).
std::string OptionText(const TOptionPairs& options);

}  // namespace kestrova::cli
