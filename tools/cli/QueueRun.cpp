#include "tools/cli/QueueRun.h"

#include "tools/cli/QueueConsole.h"

#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/MainThread.h"
#include "engine/front/FFmpegEngine.h"

#include <unistd.h>
#include <atomic>
#include <csignal>

namespace kestrova::cli {

namespace {

// Set by Ctrl+C; the main thread, which waits for the run, sees it and stops the run. A signal
// handler may store to a lock-free atomic and do nothing else of use here.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void NoteInterrupt(int) {
    interrupted = true;
}

// Restores the previous Ctrl+C handling when the run is over.
class TInterruptScope {
public:
    TInterruptScope() {
        interrupted = false;
        FPrevious = std::signal(SIGINT, NoteInterrupt);
    }
    ~TInterruptScope() { std::signal(SIGINT, FPrevious); }
    TInterruptScope(const TInterruptScope&) = delete;
    TInterruptScope& operator=(const TInterruptScope&) = delete;

private:
    void (*FPrevious)(int) = SIG_DFL;
};

std::vector<std::string> TaskNames(const TQueueCommandLine& command) {
    std::vector<std::string> names;
    for (const TQueueTask& task : command.Tasks)
        names.push_back(task.Outputs.empty() ? task.Input : task.Outputs.front().FileName);
    return names;
}

// Adds every task with its outputs; false, with the reason shown, at the first that fails.
bool AddTasks(TFFmpegEngine& engine, const TQueueCommandLine& command, TQueueConsole& console) {
    for (std::size_t i = 0; i < command.Tasks.size(); ++i) {
        const TQueueTask& task = command.Tasks[i];
        const std::string name = "task " + std::to_string(i + 1) + ": ";
        TInputOptions input;
        input.ExtOptions = OptionText(task.InputOptions);
        const int index = engine.AddTask(task.Input, &input);
        if (index < 0) {
            console.PrintLine(name + engine.LastErrMsg());
            return false;
        }
        for (const TQueueOutput& output : task.Outputs) {
            TOutputOptions record;
            record.ExtOptions = OptionText(output.Options);
            record.Join = output.Join;
            if (!engine.SetOutputFile(index, output.FileName, &record)) {
                console.PrintLine(name + engine.LastErrMsg());
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int RunQueue(const TQueueCommandLine& command, const std::string& libraryFolder) {
    MainThread::SetCurrentAsMain();
    TQueueConsole console(stderr, isatty(STDERR_FILENO) != 0, TaskNames(command));
    TFFLogger& logger = TFFLogger::Instance();
    logger.TriggerEventInMainThread = false;
    logger.OnLog = [&console](const void*, uint32_t, TLogLevel, const std::string& line) {
        console.PrintLogLine(line);
    };

    std::atomic<int> finished{0};
    std::atomic<bool> allDone{false};
    {
        TFFmpegEngine engine;
        if (!engine.AVLibLoaded() && !engine.LoadAVLib(libraryFolder)) {
            console.PrintLine(engine.LastErrMsg());
            logger.OnLog = nullptr;
            return 1;
        }
        if (!AddTasks(engine, command, console)) {
            logger.OnLog = nullptr;
            return 1;
        }
        engine.OnProgress = [&console](TCustomFFmpegEngine&, TProgressInfo* info) {
            console.ShowProgress(info->TaskIndex, JobProgressOf(*info));
        };
        // Notices come one after another on notice threads.
        engine.OnTerminate = [&](TCustomFFmpegEngine&, const TTerminateInfo& info) {
            if (info.TaskIndex < 0) {
                allDone = true;
                return;
            }
            if (info.Finished && !info.Exception) ++finished;
            console.ShowEnd(info);
        };

        TInterruptScope interruptScope;
        engine.StartTask(command.Processes);
        MainThread::WaitUntil([&] { return allDone || interrupted; });
        if (!allDone) {
            console.PrintLine("stopping every task");
            engine.Stop(true);
            MainThread::WaitUntil([&] { return allDone.load(); });
        }
    }
    logger.OnLog = nullptr;
    const int total = static_cast<int>(command.Tasks.size());
    console.PrintLine(std::to_string(finished.load()) + " of " + std::to_string(total) + " tasks finished");
    return finished == total ? 0 : 1;
}

}  // namespace kestrova::cli
