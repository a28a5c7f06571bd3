#pragma once
// The command line of kestrova-cli:
//   kestrova-cli [-name value]... -i INPUT [-name value]... OUTPUT [[-name value]... OUTPUT2]
// Option pairs are the engine's own vocabulary and are applied in the order given; "-i" adds an
// input, a bare argument adds an output, and "-join 1" makes the next output a join output
// (the inputs one after another). Every option takes a value, boolean ones too ("-vn 1").
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

class ECommandLine : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The steps in the order given. Raises ECommandLine for an option without a value.
std::vector<TCommandStep> ParseCommandLine(const std::vector<std::string>& arguments);

// Applies the steps to the job in order. Raises ECommandLine with the reason (the option's
// error, or the job's LastError for a file it cannot add) at the first step that fails.
void ApplyCommandLine(TCustomFFmpeg& job, const std::vector<TCommandStep>& steps);

std::string UsageText();
// The program's version ("3.0.0.0").
const char* VersionText();

}  // namespace kestrova::cli
