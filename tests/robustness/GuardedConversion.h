#pragma once
// One conversion by a fresh job on the engine's own worker, under a time limit: a run that has
// not ended by then is stopped through the job's stop path and reported as hung. The result is
// then judged: every run either makes an output that the engine's probe opens, or fails with a
// message, and gives exactly one terminate notice.
#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace kestrova::robustness {

using TOptionPairs = std::vector<std::pair<std::string, std::string>>;

struct TConversion {
    std::string Input;
    std::string Output;
    TOptionPairs Options;  // applied after the input is added, before the output
    bool StreamCopy = false;
};

enum class TOutcome {
    InputRefused,   // AddInputFile said no
    OptionRefused,  // an option raised
    OutputRefused,  // AddOutputFile said no
    Converted,      // the run finished normally
    Failed,         // the run ended with a failure
    Unfinished,     // the run ended, neither finished nor failed
    Hung,           // the run did not end within the limit
};

// "converted", "failed", "input refused", ...
const char* OutcomeName(TOutcome outcome);

struct TConversionResult {
    TOutcome Outcome = TOutcome::Unfinished;
    std::string Message;  // the refusal or failure text
    int Notices = 0;      // terminate notices the job gave
    std::vector<std::string> LastLogLines;
};

// The media libraries must be loaded. Aborts the process, after naming the case on standard
// error, when a hung run does not end even after its stop.
TConversionResult RunGuarded(const TConversion& conversion, std::chrono::seconds limit);

// What is wrong with the result ("" when nothing): a hang, a missing or repeated notice, a
// refusal or failure without a message, a failure that left an empty output behind, or a
// normal end whose output the engine's probe cannot open or finds no stream in (or, re-encoded,
// no first picture in its video).
std::string Fault(const TConversion& conversion, const TConversionResult& result);

}  // namespace kestrova::robustness
