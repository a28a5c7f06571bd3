#include "tools/cli/QueueRun.h"

#include "tools/cli/ComponentRun.h"
#include "tools/cli/OptionCheck.h"
#include "tools/cli/QueueConsole.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/front/FFmpegEngine.h"

#include <unistd.h>

namespace kestrova::cli {

namespace {

constexpr int kRefused = 2;

std::vector<std::string> TaskNames(const TQueueCommandLine& command) {
    std::vector<std::string> names;
    for (const TQueueTask& task : command.Tasks)
        names.push_back(task.Outputs.empty() ? task.Input : task.Outputs.front().FileName);
    return names;
}

void CheckOptions(const TOptionPairs& options, const TLogWatch& watch) {
    TCustomFFmpeg scratch;
    for (const auto& [name, value] : options) CheckLibraryOption(scratch, name, value, watch);
}

// The records only carry option text, which the engine applies without telling of a name it
// does not know: the names and values are checked here on jobs that open nothing, and every
// output is checked to be new, before any task opens a file. Raises ECommandLine.
void CheckTasks(const TQueueCommandLine& command, bool overwrite, const TLogWatch& watch) {
    for (const TQueueTask& task : command.Tasks) {
        CheckOptions(task.InputOptions, watch);
        for (const TQueueOutput& output : task.Outputs) {
            // Input options come first on the job that reads the task, as they do here.
            TOptionPairs options = task.InputOptions;
            options.insert(options.end(), output.Options.begin(), output.Options.end());
            CheckOptions(options, watch);
            CheckOutputIsNew(output.FileName, overwrite);
        }
    }
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

int RunQueue(const TQueueCommandLine& command, bool overwrite, const std::string& libraryFolder) {
    TQueueConsole console(stderr, isatty(STDERR_FILENO) != 0, TaskNames(command));
    TLogWatch watch;
    const TConsoleLog log(console, watch);
    TFFmpegEngine engine;
    if (!engine.AVLibLoaded() && !engine.LoadAVLib(libraryFolder)) {
        console.PrintLine(engine.LastErrMsg());
        return 1;
    }
    try {
        CheckTasks(command, overwrite, watch);
    } catch (const ECommandLine& error) {
        console.PrintLine(error.what());
        return kRefused;
    }
    if (!AddTasks(engine, command, console)) return 1;
    return RunTasks(engine, command.Processes, static_cast<int>(command.Tasks.size()), console);
}

}  // namespace kestrova::cli
