#pragma once
// The command line of kestrova-cli:
//   kestrova-cli [-name value]... -i INPUT [-name value]... OUTPUT [[-name value]... OUTPUT2]
// Option pairs are the engine's own vocabulary and are applied in the order given; "-i" adds an
// input, a bare argument adds an output, and "-join 1" makes the next output a join output
// (the inputs one after another). Every option takes a value, boolean ones too ("-vn 1").
// "-y 1" anywhere lets the outputs replace existing files.
#include "tools/cli/LogWatch.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova {
class TCustomFFmpeg;
}

namespace kestrova::cli {

struct TCommandStep {
    enum TKind { Option, Input, Output };
    TKind Kind = Option;
    std::string Name;   // option name (without "-"); for inputs and outputs the file name
    std::string Value;  // option value
    bool Join = false;  // outputs: write the inputs one after another into this file
};

// A command line the program refuses (exit code 2).
class ECommandLine : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file the job cannot take (exit code 1).
class EJobSetUp : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The steps in the order given. Raises ECommandLine for an option without a value.
std::vector<TCommandStep> ParseCommandLine(const std::vector<std::string>& arguments);

// Takes every "-y" out of the steps: whether existing outputs may be replaced (the last "-y"
// decides; its value is false only for "0").
bool TakeOverwriteSwitch(std::vector<TCommandStep>& steps);

// The number of tasks that run at once ("-processes N", N at least 1); raises ECommandLine
// for anything else.
int ProcessesValue(const std::string& value);

// Raises ECommandLine when the output exists and may not be replaced.
void CheckOutputIsNew(const std::string& fileName, bool overwrite);

// Applies the steps to the job in order, each option checked (OptionCheck.h) and each output
// checked with CheckOutputIsNew before anything is opened for it. Raises ECommandLine for a
// refused option or output, EJobSetUp with the job's LastError for a file it cannot add.
void ApplyCommandLine(TCustomFFmpeg& job, const std::vector<TCommandStep>& steps, bool overwrite,
                      const TLogWatch& watch);

std::string UsageText();
// The program's version ("3.0.0.0").
const char* VersionText();

}  // namespace kestrova::cli
