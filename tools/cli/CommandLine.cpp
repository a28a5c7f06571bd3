#include "tools/cli/CommandLine.h"

#include "engine/core/CustomFFmpeg.h"

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

void ApplyCommandLine(TCustomFFmpeg& job, const std::vector<TCommandStep>& steps) {
    for (const TCommandStep& step : steps) {
        switch (step.Kind) {
            case TCommandStep::Option:
                try {
                    job.ApplyOption(step.Name, step.Value);
                } catch (const std::exception& error) {
                    throw ECommandLine("Option -" + step.Name + " " + step.Value + ": " + error.what());
                }
                break;
            case TCommandStep::Input:
                if (!job.AddInputFile(step.Name)) throw ECommandLine(job.LastError());
                break;
            case TCommandStep::Output:
                if (job.AddOutputFile(step.Name, step.Join) < 0) throw ECommandLine(job.LastError());
                break;
        }
    }
}

std::string UsageText() {
    return "usage: kestrova-cli [-name value]... -i INPUT [-name value]... OUTPUT [[-name value]... "
           "OUTPUT]...\n"
           "       kestrova-cli -processes N -i IN1 [-name value]... OUT1 -i IN2 [-name value]... OUT2 ...\n"
           "       kestrova-cli -h | --help | --version\n"
           "  Options are the engine's option names, each with a value (\"-vn 1\", \"-t 10\",\n"
           "  \"-vcodec copy\"), applied in the order given. \"-i\" adds an input file, a bare\n"
           "  argument adds an output file, \"-join 1\" writes the inputs one after another into\n"
           "  the next output.\n"
           "  With \"-processes N\" the command line is a queue: each \"-i\" that follows an output\n"
           "  starts the next task, whose options apply to it only, and N tasks run at once.\n";
}

const char* VersionText() {
    return KESTROVA_VERSION_TEXT;
}

}  // namespace kestrova::cli
