#include "tools/cli/CommandLine.h"

#include "tools/cli/OptionCheck.h"

#include "engine/core/CustomFFmpeg.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace kestrova::cli {

namespace {

bool IsOptionName(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

// The engine's boolean rule: false only for "0".
bool BooleanValue(const std::string& value) {
    return value != "0";
}

}  // namespace

std::vector<TCommandStep> ParseCommandLine(const std::vector<std::string>& arguments) {
    std::vector<TCommandStep> steps;
    bool joinNext = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!IsOptionName(argument)) {
            steps.push_back({TCommandStep::Output, argument, {}, joinNext});
            joinNext = false;
            continue;
        }
        const std::string name = argument.substr(1);
        if (i + 1 >= arguments.size()) throw ECommandLine("Missing value for option -" + name);
        const std::string& value = arguments[++i];
        if (name == "i")
            steps.push_back({TCommandStep::Input, value, {}, false});
        else if (name == "join")
            joinNext = BooleanValue(value);
        else
            steps.push_back({TCommandStep::Option, name, value, false});
    }
    return steps;
}

bool TakeOverwriteSwitch(std::vector<TCommandStep>& steps) {
    bool overwrite = false;
    std::erase_if(steps, [&overwrite](const TCommandStep& step) {
        if (step.Kind != TCommandStep::Option || step.Name != "y") return false;
        overwrite = BooleanValue(step.Value);
        return true;
    });
    return overwrite;
}

int ProcessesValue(const std::string& value) {
    int processes = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), processes);
    if (error != std::errc() || end != value.data() + value.size() || processes < 1)
        throw ECommandLine("Invalid value for -processes: " + value);
    return processes;
}

void CheckOutputIsNew(const std::string& fileName, bool overwrite) {
    std::error_code error;
    // A link counts as the file it names, and a dangling one as a file too: writing through it
    // would create a file elsewhere.
    if (overwrite || !std::filesystem::exists(std::filesystem::symlink_status(fileName, error))) return;
    throw ECommandLine("File '" + fileName + "' already exists. Give -y 1 to overwrite it.");
}

void ApplyCommandLine(TCustomFFmpeg& job, const std::vector<TCommandStep>& steps, bool overwrite,
                      const TLogWatch& watch) {
    for (const TCommandStep& step : steps) {
        switch (step.Kind) {
            case TCommandStep::Option:
                ApplyCheckedOption(job, step.Name, step.Value, watch);
                break;
            case TCommandStep::Input:
                if (!job.AddInputFile(step.Name)) throw EJobSetUp(job.LastError());
                break;
            case TCommandStep::Output:
                CheckOutputIsNew(step.Name, overwrite);
                if (job.AddOutputFile(step.Name, step.Join) < 0) throw EJobSetUp(job.LastError());
                break;
        }
    }
}

std::string UsageText() {
    return "usage: kestrova-cli [-name value]... -i INPUT [-name value]... OUTPUT [[-name value]... "
           "OUTPUT]...\n"
           "       kestrova-cli -processes N -i IN1 [-name value]... OUT1 -i IN2 [-name value]... OUT2 ...\n"
           "       kestrova-cli --profile PROFILE [--set PARAMETER=VALUE]... INPUT [INPUT]... "
           "[--out-folder DIR] [-processes N]\n"
           "       kestrova-cli --list\n"
           "       kestrova-cli -h | --help | --version\n"
           "  Options are the engine's option names, each with a value (\"-vn 1\", \"-t 10\",\n"
           "  \"-vcodec copy\"), applied in the order given. \"-i\" adds an input file, a bare\n"
           "  argument adds an output file, \"-join 1\" writes the inputs one after another into\n"
           "  the next output. An existing output is replaced only with \"-y 1\".\n"
           "  With \"-processes N\" the command line is a queue: each \"-i\" that follows an output\n"
           "  starts the next task, whose options apply to it only, and N tasks run at once.\n"
           "  With \"--profile\" each input is converted with an output profile (its file name or\n"
           "  its name as \"--list\" shows them), \"--set videosize=320x240\" choosing another\n"
           "  value; the output is named after the input, beside it or in DIR.\n";
}

const char* VersionText() {
    return KESTROVA_VERSION_TEXT;
}

}  // namespace kestrova::cli
