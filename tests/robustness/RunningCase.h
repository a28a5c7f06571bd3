#pragma once
// Names the case that is running when the process dies in it: a crash, an abort or a sanitizer
// report ends the whole suite, and its last words must say which case (with its seed) to make
// again. Under the sanitizers the name comes after their report (through the address checker's
// death callback, or the abort the undefined-behaviour checker is set to end with); without them,
// from a handler of the fatal signals.
#include <string>

namespace kestrova::robustness {

// Installs the report once per process.
void InstallRunningCaseReport();

// Marks `description` as the running case for its lifetime.
class TRunningCase {
public:
    explicit TRunningCase(const std::string& description);
    ~TRunningCase();
    TRunningCase(const TRunningCase&) = delete;
    TRunningCase& operator=(const TRunningCase&) = delete;
};

}  // namespace kestrova::robustness
