#include "tools/cli/QueueRun.h"

#include "tools/cli/ComponentRun.h"
#include "tools/cli/OptionCheck.h"
#include "tools/cli/QueueConsole.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/front/FFmpegEngine.h"
#include "engine/front/HostOptions.h"

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

// The records only carry option text, which the engine applies without telling of a name it
// does not know or a value a library refuses. So each task's options are applied beforehand to
// a job of its own, in the order the component applies them (input options, the input opened,
// then each output's options with its presets after them); the options that need an output
// file ("-newvideo" ...) are left to the task. Every output is checked to be new.
// Nothing is opened for writing. Raises ECommandLine.
void CheckTask(const TQueueTask& task, bool overwrite, const TLogWatch& watch) {
    TCustomFFmpeg job;
    for (const auto& [name, value] : task.InputOptions) ApplyCheckedOption(job, name, value, watch);
    // An input that does not open is reported when the task is added.
    const bool inputOpened = job.AddInputFile(task.Input);
    for (const TQueueOutput& output : task.Outputs) {
        CheckOutputIsNew(output.FileName, overwrite);
        if (!inputOpened) continue;
        for (const int pass : {2, 1})
            for (const auto& [name, value] : output.Options)
                if (OptionPass(name) == pass) ApplyCheckedOption(job, name, value, watch);
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
    TConsoleLog log(console, watch);
    TFFmpegEngine engine;
    if (!engine.AVLibLoaded() && !engine.LoadAVLib(libraryFolder)) {
        console.PrintLine(engine.LastErrMsg());
        return 1;
    }
    for (std::size_t i = 0; i < command.Tasks.size(); ++i) {
        log.SetMuted(true);
        try {
            CheckTask(command.Tasks[i], overwrite, watch);
        } catch (const ECommandLine& error) {
            log.SetMuted(false);
            console.PrintLine("task " + std::to_string(i + 1) + ": " + error.what());
            return kRefused;
        }
        log.SetMuted(false);
    }
    if (!AddTasks(engine, command, console)) return 1;
    return RunTasks(engine, command.Processes, static_cast<int>(command.Tasks.size()), console);
}

}  // namespace kestrova::cli
