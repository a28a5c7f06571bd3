#include "tests/support/ProcessRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace kestrova::testmedia {

namespace {

// Both ends of a pipe, closed when they go out of scope.
class TPipe {
public:
    TPipe() {
        if (::pipe2(FFds, O_CLOEXEC) != 0) FFds[0] = FFds[1] = -1;
    }
    TPipe(const TPipe&) = delete;
    TPipe& operator=(const TPipe&) = delete;
    ~TPipe() {
        CloseRead();
        CloseWrite();
    }
    bool Valid() const { return FFds[0] >= 0; }
    int Read() const { return FFds[0]; }
    int Write() const { return FFds[1]; }
    void CloseRead() { Close(FFds[0]); }
    void CloseWrite() { Close(FFds[1]); }

private:
    static void Close(int& fd) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int FFds[2] = {-1, -1};
};

class TSpawnActions {
public:
    TSpawnActions() { posix_spawn_file_actions_init(&FActions); }
    TSpawnActions(const TSpawnActions&) = delete;
    TSpawnActions& operator=(const TSpawnActions&) = delete;
    ~TSpawnActions() { posix_spawn_file_actions_destroy(&FActions); }
    posix_spawn_file_actions_t* Get() { return &FActions; }

private:
    posix_spawn_file_actions_t FActions;
};

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            text.append(buffer, static_cast<size_t>(got));
        else if (got < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    return text;
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args) {
    ProcessResult result;
    TPipe pipe;
    if (!pipe.Valid()) {
        result.output = std::string("cannot create a pipe: ") + std::strerror(errno);
        return result;
    }
    TSpawnActions actions;
    posix_spawn_file_actions_adddup2(actions.Get(), pipe.Write(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), pipe.Write(), STDERR_FILENO);
    posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::vector<std::string> storage;
    storage.reserve(args.size() + 1);
    storage.push_back(program);
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), actions.Get(), nullptr, argv.data(), environ);
    if (spawned != 0) {
        result.output = "cannot start " + program + ": " + std::strerror(spawned);
        return result;
    }
    pipe.CloseWrite();  // so the read below ends when the child exits
    result.output = ReadAll(pipe.Read());
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace kestrova::testmedia
