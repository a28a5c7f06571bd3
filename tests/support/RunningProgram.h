#pragma once
// kestrova-cli run as a user runs it: started with its output read as it comes, signalled,
// and waited for.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace kestrova::clitest {

// The program in the build's program folder.
std::string ProgramPath();

class TRunningProgram {
public:
    TRunningProgram(const std::string& program, const std::vector<std::string>& arguments);
    ~TRunningProgram();
    TRunningProgram(const TRunningProgram&) = delete;
    TRunningProgram& operator=(const TRunningProgram&) = delete;

    bool Started() const { return FPid > 0; }
    const std::string& Output() const { return FOutput; }

    // Reads until `text` has been printed; false when the program ended or time ran out first.
    bool WaitForText(const std::string& text, std::chrono::seconds limit);
    void Signal(int signal) const;
    // Reads what is left and reaps the program: its exit code, -1 when it did not exit normally.
    int Wait();

private:
    // False once the program has closed its output.
    bool ReadSome(int timeoutMs);

    pid_t FPid = -1;
    int FRead = -1;
    std::string FOutput;
};

}  // namespace kestrova::clitest
