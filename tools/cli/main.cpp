// kestrova-cli: runs one conversion job, or with "-processes N" a queue of tasks on N worker
// threads of the engine component (QueueCommandLine.h), or with "--profile" the inputs through
// an output profile (ProfileMode.h). Exit code 0 when every conversion finished normally, 1
// when one failed or was stopped (Ctrl+C, SIGTERM and SIGHUP stop after the packet at hand,
// with the outputs' trailers written), 2 for a command line it refuses. "-h" or "--help" alone
// prints the usage, "--version" the version.
#include "tools/cli/CommandLine.h"
#include "tools/cli/Console.h"
#include "tools/cli/LogWatch.h"
#include "tools/cli/ProfileMode.h"
#include "tools/cli/QueueRun.h"
#include "tools/cli/StopSignals.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/frame/ConvertThreads.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/MainThread.h"
#include "engine/frame/ProgramLayout.h"

#include <unistd.h>
#include <atomic>

namespace {

using namespace kestrova;

constexpr int kRefused = 2;

// Runs the job on a worker while this thread waits; a stop signal stops it after the packet at
// hand. Whether it finished normally.
bool RunJob(TCustomFFmpeg& job, cli::TConsole& console) {
    std::atomic<bool> ended{false};
    job.OnTerminate = [&ended](TCustomFFmpeg&) { ended = true; };
    if (console.ShowsProgress())
        job.OnProgress = [&console](TCustomFFmpeg&, const TJobProgress& progress) {
            console.ShowProgress(progress);
        };
    if (!cli::TStopSignals::Requested()) {
        // The worker starts parked until it is let go.
        if (TConvertThread* worker = job.StartConvert(true)) worker->Resume();
        MainThread::WaitUntil([&] { return ended || cli::TStopSignals::Requested(); });
        if (!ended) job.StopConvert(true);
    }
    console.FinishProgress();
    return ended && job.RunState().FinishedNormally;
}

int RunSingleJob(std::vector<cli::TCommandStep> steps, bool overwrite, const std::string& libraryFolder) {
    cli::TConsole console(stderr, isatty(STDERR_FILENO) != 0);
    cli::TLogWatch watch;
    TFFLogger& logger = TFFLogger::Instance();
    logger.TriggerEventInMainThread = false;
    logger.OnLog = [&console, &watch](const void*, uint32_t, TLogLevel, const std::string& line) {
        watch.See(line);
        console.PrintLogLine(cli::ShownLogLine(line));
    };
    if (!LoadMediaLibraries(libraryFolder)) {
        console.PrintError(TFFmpegLoader::Instance().LastError());
        return 1;
    }

    TCustomFFmpeg job;
    job.SetHostInterrupt(&cli::TStopSignals::Flag());
    try {
        cli::ApplyCommandLine(job, steps, overwrite, watch);
    } catch (const cli::ECommandLine& error) {
        console.PrintError(error.what());
        return kRefused;
    } catch (const cli::EJobSetUp& error) {
        console.PrintError(error.what());
        return 1;
    }
    // The job runs alone: its codecs get every core, as a task running alone on the component.
    job.ShareCodecCores(1);
    if (RunJob(job, console)) return 0;

    const TRunState& state = job.RunState();
    if (state.Failed)
        console.PrintError(state.FailureText);
    else if (!job.LastError().empty() && !cli::TStopSignals::Requested())
        console.PrintError(job.LastError());
    else
        console.PrintError("Conversion stopped");
    return 1;
}

int Run(const std::vector<std::string>& arguments) {
    // Before any file is opened: a stop signal from now on ends the run cleanly.
    const cli::TStopSignals stopSignals;
    if (arguments.empty()) {
        std::fputs(cli::UsageText().c_str(), stderr);
        return kRefused;
    }
    if (arguments.size() == 1 && (arguments[0] == "-h" || arguments[0] == "--help")) {
        std::fputs(cli::UsageText().c_str(), stdout);
        return 0;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("kestrova-cli %s\n", cli::VersionText());
        return 0;
    }
    MainThread::SetCurrentAsMain();
    if (cli::IsProfileCommandLine(arguments)) return cli::RunProfileMode(arguments);

    std::vector<cli::TCommandStep> steps;
    cli::TQueueCommandLine queue;
    bool overwrite = false;
    try {
        steps = cli::ParseCommandLine(arguments);
        // The queue keeps each task's own "-y".
        if (cli::IsQueueCommandLine(steps))
            queue = cli::ParseQueueCommandLine(steps);
        else
            overwrite = cli::TakeOverwriteSwitch(steps);
    } catch (const cli::ECommandLine& error) {
        std::fprintf(stderr, "kestrova-cli: %s\n", error.what());
        std::fputs(cli::UsageText().c_str(), stderr);
        return kRefused;
    }

    const std::string libraryFolder = MediaLibraryFolder();
    if (!queue.Tasks.empty()) return cli::RunQueue(queue, libraryFolder);
    return RunSingleJob(std::move(steps), overwrite, libraryFolder);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const int result = Run(arguments);
    // The logger outlives the job; it stops delivering before the console goes.
    kestrova::TFFLogger::Instance().OnLog = nullptr;
    return result;
}
