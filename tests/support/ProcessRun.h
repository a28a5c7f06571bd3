#pragma once
// Runs a program and collects what it prints.
#include <string>
#include <vector>

namespace kestrova::testmedia {

struct ProcessResult {
    int exitCode = -1;   // -1 when the program could not be started or did not exit normally
    std::string output;  // standard output and standard error together
};

// Runs program with args (no shell involved) and waits for it to end.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);

}  // namespace kestrova::testmedia
