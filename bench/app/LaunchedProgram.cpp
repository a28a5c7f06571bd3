#include "bench/app/LaunchedProgram.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace kestrova::bench {

namespace {

// The current environment with the marker and, without a display, the off-screen platform.
std::vector<std::string> ProgramEnvironment(const std::string& marker) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable) {
        const std::string text = *variable;
        if (!text.starts_with("KESTROVA_SHOWN_MARKER=")) variables.push_back(text);
    }
    variables.push_back("KESTROVA_SHOWN_MARKER=" + marker);
    const bool hasDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!hasDisplay && !std::getenv("QT_QPA_PLATFORM")) variables.push_back("QT_QPA_PLATFORM=offscreen");
    return variables;
}

}  // namespace

TLaunchedProgram::TLaunchedProgram(const std::string& scratchDir) : FMarker(scratchDir + "/shown") {
    std::filesystem::remove(FMarker);
    std::vector<std::string> variables = ProgramEnvironment(FMarker);
    std::vector<char*> environment;
    for (std::string& variable : variables) environment.push_back(variable.data());
    environment.push_back(nullptr);
    std::string program = KESTROVA_PROGRAM;
    char* arguments[] = {program.data(), nullptr};
    FStarted = std::chrono::steady_clock::now();
    if (posix_spawn(&FPid, program.c_str(), nullptr, nullptr, arguments, environment.data()) != 0)
        throw std::runtime_error("cannot start " + program);
}

TLaunchedProgram::~TLaunchedProgram() {
    kill(FPid, SIGTERM);
    int status = 0;
    waitpid(FPid, &status, 0);
}

std::chrono::duration<double> TLaunchedProgram::WaitUntilShown() {
    using namespace std::chrono_literals;
    while (!std::filesystem::exists(FMarker)) {
        int status = 0;
        if (waitpid(FPid, &status, WNOHANG) == FPid)
            throw std::runtime_error("the program ended at start-up");
        if (std::chrono::steady_clock::now() - FStarted > 10s)
            throw std::runtime_error("no window after 10 s");
        std::this_thread::sleep_for(500us);
    }
    return std::chrono::steady_clock::now() - FStarted;
}

long TLaunchedProgram::ResidentKiB() const {
    std::ifstream status("/proc/" + std::to_string(FPid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    throw std::runtime_error("no resident size for the program");
}

}  // namespace kestrova::bench
