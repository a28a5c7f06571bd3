#include "tests/support/RunningProgram.h"

#include "tests/support/TestMedia.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestrova::clitest {

std::string ProgramPath() {
    return testmedia::BuildDir() + "/bin/kestrova-cli";
}

TRunningProgram::TRunningProgram(const std::string& program, const std::vector<std::string>& arguments) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    FRead = fds[0];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) FPid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
}

TRunningProgram::~TRunningProgram() {
    if (FPid > 0) {
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
    }
    if (FRead >= 0) ::close(FRead);
}

bool TRunningProgram::WaitForText(const std::string& text, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (FOutput.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline || !ReadSome(100)) return false;
    }
    return true;
}

void TRunningProgram::Signal(int signal) const {
    ::kill(FPid, signal);
}

int TRunningProgram::Wait() {
    while (ReadSome(1000)) {}
    int status = 0;
    ::waitpid(FPid, &status, 0);
    FPid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool TRunningProgram::ReadSome(int timeoutMs) {
    pollfd poll{FRead, POLLIN, 0};
    if (::poll(&poll, 1, timeoutMs) == 0) return true;
    char buffer[4096];
    const ssize_t got = ::read(FRead, buffer, sizeof buffer);
    if (got <= 0) return false;
    FOutput.append(buffer, static_cast<std::size_t>(got));
    return true;
}

}  // namespace kestrova::clitest
