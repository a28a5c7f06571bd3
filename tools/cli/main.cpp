// kestrova-cli: runs one conversion job in this thread, or with "-processes N" a queue of tasks
// on N worker threads of the engine component (QueueCommandLine.h). Exit code 0 when every
// conversion finished normally, 1 when one failed or was stopped (Ctrl+C stops after the packet
// at hand, with the outputs' trailers written), 2 for a malformed command line. "-h" or "--help"
// alone prints the usage, "--version" the version.
#include "tools/cli/CommandLine.h"
#include "tools/cli/Console.h"
#include "tools/cli/LibraryFolder.h"
#include "tools/cli/QueueRun.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/MainThread.h"
#include "engine/frame/ProgramFolder.h"

#include <unistd.h>
#include <csignal>

namespace {

using namespace kestrova;

// The job a Ctrl+C stops. Stopping only stores to an atomic flag, which a signal handler may do.
TCustomFFmpeg* RunningJob = nullptr;

extern "C" void StopOnInterrupt(int) {
    if (RunningJob) RunningJob->StopConvert(false);
}

int Run(const std::vector<std::string>& arguments) {
    const bool terminal = isatty(STDERR_FILENO) != 0;
    cli::TConsole console(stderr, terminal);
    if (arguments.empty()) {
        std::fputs(cli::UsageText().c_str(), stderr);
        return 2;
    }
    if (arguments.size() == 1 && (arguments[0] == "-h" || arguments[0] == "--help")) {
        std::fputs(cli::UsageText().c_str(), stdout);
        return 0;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("kestrova-cli %s\n", cli::VersionText());
        return 0;
    }
    std::vector<cli::TCommandStep> steps;
    cli::TQueueCommandLine queue;
    try {
        steps = cli::ParseCommandLine(arguments);
        if (cli::IsQueueCommandLine(steps)) queue = cli::ParseQueueCommandLine(steps);
    } catch (const cli::ECommandLine& error) {
        console.PrintError(error.what());
        std::fputs(cli::UsageText().c_str(), stderr);
        return 2;
    }

    const std::string programFolder = ProgramFolder();
    if (!queue.Tasks.empty()) return cli::RunQueue(queue, cli::MediaLibraryFolder(programFolder));

    MainThread::SetCurrentAsMain();
    TFFLogger& logger = TFFLogger::Instance();
    logger.TriggerEventInMainThread = false;
    logger.OnLog = [&console](const void*, uint32_t, TLogLevel, const std::string& line) {
        console.PrintLogLine(line);
    };
    if (!LoadMediaLibraries(cli::MediaLibraryFolder(programFolder))) {
        console.PrintError(TFFmpegLoader::Instance().LastError());
        return 1;
    }

    TCustomFFmpeg job;
    try {
        cli::ApplyCommandLine(job, steps);
    } catch (const cli::ECommandLine& error) {
        console.PrintError(error.what());
        return 1;
    }
    if (console.ShowsProgress())
        job.OnProgress = [&console](TCustomFFmpeg&, const TJobProgress& progress) {
            console.ShowProgress(progress);
        };

    RunningJob = &job;
    std::signal(SIGINT, StopOnInterrupt);
    job.StartConvert(false);
    std::signal(SIGINT, SIG_DFL);
    RunningJob = nullptr;
    console.FinishProgress();

    const TRunState& state = job.RunState();
    if (state.FinishedNormally) return 0;
    if (state.Failed)
        console.PrintError(state.FailureText);
    else if (!job.LastError().empty())
        console.PrintError(job.LastError());
    else
        console.PrintError("Conversion stopped");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const int result = Run(arguments);
    // The logger outlives the job; it stops delivering before the console goes.
    kestrova::TFFLogger::Instance().OnLog = nullptr;
    return result;
}
