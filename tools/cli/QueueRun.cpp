#include "tools/cli/QueueRun.h"

#include "tools/cli/ComponentRun.h"
#include "tools/cli/OptionCheck.h"
#include "tools/cli/OutputReplacement.h"
#include "tools/cli/QueueConsole.h"
#include "tools/cli/SharedFiles.h"
#include "tools/cli/StopSignals.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/front/FFmpegEngine.h"
#include "engine/front/HostOptions.h"

#include <unistd.h>

#include <cstdio>

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
void CheckTask(const TQueueTask& task, const TLogWatch& watch) {
    TCustomFFmpeg job;
    job.SetHostInterrupt(&TStopSignals::Flag());
    for (const auto& [name, value] : task.InputOptions) ApplyCheckedOption(job, name, value, watch);
    // An input that does not open is reported when the task is added.
    const bool inputOpened = job.AddInputFile(task.Input);
    for (const TQueueOutput& output : task.Outputs) {
        CheckOutputIsNew(output.FileName, task.Overwrite);
        if (!inputOpened) continue;
        for (const int pass : {2, 1})
            for (const auto& [name, value] : output.Options)
                if (OptionPass(name) == pass) ApplyCheckedOption(job, name, value, watch);
    }
}

// Adds the task with its outputs, each written under the name `replacements` gives it; the
// reason when it cannot be set up (the engine then holds nothing of it).
std::string AddTask(TFFmpegEngine& engine, const TQueueTask& task, int line,
                    TOutputReplacements& replacements) {
    TInputOptions input;
    input.ExtOptions = OptionText(task.InputOptions);
    const int index = engine.AddTask(task.Input, &input);
    if (index < 0) return engine.LastErrMsg();
    for (const TQueueOutput& output : task.Outputs) {
        TOutputOptions record;
        record.ExtOptions = OptionText(output.Options);
        record.Join = output.Join;
        if (!engine.SetOutputFile(index, replacements.WriteName(line, output.FileName), &record)) {
            const std::string reason = engine.LastErrMsg();
            engine.RemoveTask(index);
            replacements.End(line, false);
            return reason;
        }
    }
    return {};
}

// Every task that can be set up is added; one that cannot fails alone, with its reason.
TTaskLines AddTasks(TFFmpegEngine& engine, const TQueueCommandLine& command, TQueueConsole& console,
                    TOutputReplacements& replacements) {
    TTaskLines lines;
    lines.LineCount = static_cast<int>(command.Tasks.size());
    for (int line = 0; line < lines.LineCount && !TStopSignals::Requested(); ++line) {
        const std::string reason =
                AddTask(engine, command.Tasks[static_cast<std::size_t>(line)], line, replacements);
        if (reason.empty()) {
            lines.LineOfTask.push_back(line);
            continue;
        }
        console.PrintLine("task " + std::to_string(line + 1) + ": " + reason);
        console.ShowFailure(line, reason);
    }
    lines.OnTaskEnd = [&replacements](int line, const TTerminateInfo& info) {
        return replacements.End(line, info.Finished && !info.Exception);
    };
    return lines;
}

}  // namespace

int RunQueue(const TQueueCommandLine& command, const std::string& libraryFolder) {
    try {
        CheckNoSharedFiles(command);
    } catch (const ECommandLine& error) {
        std::fprintf(stderr, "kestrova-cli: %s\n", error.what());
        return kRefused;
    }
    TQueueConsole console(stderr, isatty(STDERR_FILENO) != 0, TaskNames(command));
    TLogWatch watch;
    TConsoleLog log(console, watch);
    // Outlives the engine: what is left of its temporary files goes once the tasks closed them.
    TOutputReplacements replacements;
    TFFmpegEngine engine;
    engine.SetHostInterrupt(&TStopSignals::Flag());
    if (!engine.AVLibLoaded() && !engine.LoadAVLib(libraryFolder)) {
        console.PrintLine(engine.LastErrMsg());
        return 1;
    }
    for (std::size_t i = 0; i < command.Tasks.size() && !TStopSignals::Requested(); ++i) {
        log.SetMuted(true);
        try {
            CheckTask(command.Tasks[i], watch);
        } catch (const ECommandLine& error) {
            log.SetMuted(false);
            console.PrintLine("task " + std::to_string(i + 1) + ": " + error.what());
            return kRefused;
        }
        log.SetMuted(false);
    }
    const TTaskLines lines = AddTasks(engine, command, console, replacements);
    return RunTasks(engine, command.Processes, lines, console);
}

}  // namespace kestrova::cli
