#include "bench/peers/ChildRuns.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace kestrova::bench {

namespace {

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// The child reads nothing and writes into its log.
pid_t Start(const TCommand& command) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, command.LogFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<std::string> arguments = command.Arguments;
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + command.Arguments.front());
    return pid;
}

// The last lines of a log, to say why a program failed.
std::string LogTail(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    std::string tail;
    for (std::size_t i = lines.size() > 3 ? lines.size() - 3 : 0; i < lines.size(); ++i)
        tail += lines[i] + " | ";
    return tail;
}

}  // namespace

TSideRun RunCommands(const std::vector<TCommand>& commands, int atOnce) {
    TSideRun run;
    std::map<pid_t, std::pair<int, std::size_t>> running;  // child -> slot, command
    std::vector<double> slotPeakMiB(static_cast<std::size_t>(std::max(1, atOnce)), 0.0);
    std::size_t next = 0;
    const auto start = std::chrono::steady_clock::now();
    const auto launch = [&](int slot) {
        running[Start(commands[next])] = {slot, next};
        ++next;
    };
    for (int slot = 0; slot < static_cast<int>(slotPeakMiB.size()) && next < commands.size(); ++slot)
        launch(slot);
    while (!running.empty()) {
        int status = 0;
        rusage usage{};
        const pid_t pid = ::wait4(-1, &status, 0, &usage);
        if (pid < 0) throw std::runtime_error("wait4 failed");
        const auto found = running.find(pid);
        if (found == running.end()) continue;
        const auto [slot, index] = found->second;
        running.erase(found);
        run.Cpu += Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
        const double peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // KiB on Linux
        run.PeakMiB = std::max(run.PeakMiB, peakMiB);
        slotPeakMiB[static_cast<std::size_t>(slot)] =
                std::max(slotPeakMiB[static_cast<std::size_t>(slot)], peakMiB);
        if ((!WIFEXITED(status) || WEXITSTATUS(status) != 0) && run.Failure.empty())
            run.Failure = commands[index].Arguments.front() + " failed: " + LogTail(commands[index].LogFile);
        if (next < commands.size()) launch(slot);
    }
    run.Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const double peak : slotPeakMiB) run.PeakAtOnceMiB += peak;
    return run;
}

std::string FirstOutputLine(const std::vector<std::string>& arguments) {
    std::string line = "'" + arguments.front() + "'";
    for (std::size_t i = 1; i < arguments.size(); ++i) line += " '" + arguments[i] + "'";
    FILE* pipe = ::popen((line + " 2>/dev/null").c_str(), "r");
    if (!pipe) return {};
    char buffer[256] = {};
    std::string first;
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        first = buffer;
        if (!first.empty() && first.back() == '\n') first.pop_back();
        if (!first.empty()) break;
    }
    while (std::fgets(buffer, sizeof buffer, pipe)) {}
    ::pclose(pipe);
    return first;
}

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');)
        if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    return false;
}

}  // namespace kestrova::bench
