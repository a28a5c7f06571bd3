#include "tools/cli/QueueCommandLine.h"

#include "engine/front/HostOptions.h"

namespace kestrova::cli {

namespace {

constexpr const char* kProcessesOption = "processes";
constexpr const char* kOverwriteOption = "y";

// The option text keeps one option per line: a line break inside a value would split it.
void CheckOptionValue(const TCommandStep& step) {
    if (step.Value.find_first_of("\r\n") != std::string::npos ||
        step.Value.find("<CRLF>") != std::string::npos)
        throw ECommandLine("Option -" + step.Name + ": a value of the queue mode holds no line break");
}

}  // namespace

bool IsQueueCommandLine(const std::vector<TCommandStep>& steps) {
    for (const TCommandStep& step : steps)
        if (step.Kind == TCommandStep::Option && step.Name == kProcessesOption) return true;
    return false;
}

TQueueCommandLine ParseQueueCommandLine(const std::vector<TCommandStep>& steps) {
    TQueueCommandLine command;
    TOptionPairs pending;
    // A "-y" goes to the task of the next input or output; one after the last output to the last.
    enum { kNone, kKeep, kReplace } pendingOverwrite = kNone;
    const auto takeOverwrite = [&pendingOverwrite](TQueueTask& task) {
        if (pendingOverwrite != kNone) task.Overwrite = pendingOverwrite == kReplace;
        pendingOverwrite = kNone;
    };
    for (const TCommandStep& step : steps) {
        switch (step.Kind) {
            case TCommandStep::Option:
                if (step.Name == kProcessesOption) {
                    command.Processes = ProcessesValue(step.Value);
                    break;
                }
                if (step.Name == kOverwriteOption) {
                    pendingOverwrite = step.Value != "0" ? kReplace : kKeep;
                    break;
                }
                CheckOptionValue(step);
                pending.emplace_back(step.Name, step.Value);
                break;
            case TCommandStep::Input:
                if (!command.Tasks.empty() && command.Tasks.back().Outputs.empty())
                    throw ECommandLine("A task of the queue reads one input: -i " + step.Name);
                for (const auto& [name, value] : pending)
                    if (OptionPass(name) != 2)
                        throw ECommandLine("Option -" + name + " belongs to an output: give it after -i " +
                                           step.Name);
                command.Tasks.push_back({step.Name, std::move(pending), {}});
                pending.clear();
                takeOverwrite(command.Tasks.back());
                break;
            case TCommandStep::Output:
                if (command.Tasks.empty())
                    throw ECommandLine("An output needs an input before it: " + step.Name);
                command.Tasks.back().Outputs.push_back({step.Name, std::move(pending), step.Join});
                pending.clear();
                takeOverwrite(command.Tasks.back());
                break;
        }
    }
    if (!pending.empty())
        throw ECommandLine("Options after the last output apply to nothing: -" + pending.front().first);
    if (command.Tasks.empty()) throw ECommandLine("The queue holds no task: give -i INPUT and an output");
    takeOverwrite(command.Tasks.back());
    return command;
}

std::string OptionText(const TOptionPairs& options) {
    std::string text;
    for (const auto& [name, value] : options) text.append(name).append("=").append(value).append("\n");
    return text;
}

}  // namespace kestrova::cli
