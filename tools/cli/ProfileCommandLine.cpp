#include "tools/cli/ProfileCommandLine.h"

#include "tools/cli/CommandLine.h"

#include <algorithm>

namespace kestrova::cli {

namespace {

constexpr const char* kListSwitch = "--list";
constexpr const char* kProfileSwitch = "--profile";

std::pair<std::string, std::string> SettingValue(const std::string& text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw ECommandLine("--set takes <parameter>=<value>: " + text);
    return {text.substr(0, equals), text.substr(equals + 1)};
}

}  // namespace

bool IsProfileCommandLine(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) {
        return argument == kListSwitch || argument == kProfileSwitch;
    });
}

TProfileCommandLine ParseProfileCommandLine(const std::vector<std::string>& arguments) {
    TProfileCommandLine command;
    if (arguments.size() == 1 && arguments[0] == kListSwitch) {
        command.List = true;
        return command;
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 2 || argument[0] != '-') {
            command.Inputs.push_back(argument);
            continue;
        }
        if (argument == kListSwitch) throw ECommandLine("--list takes nothing else");
        const bool takesValue = argument == kProfileSwitch || argument == "--set" ||
                                argument == "--out-folder" || argument == "-processes" ||
                                argument == "--processes";
        if (!takesValue) throw ECommandLine("Unrecognized option '" + argument + "'");
        if (i + 1 >= arguments.size()) throw ECommandLine("Missing value for option " + argument);
        const std::string& value = arguments[++i];
        if (argument == kProfileSwitch)
            command.Profile = value;
        else if (argument == "--set")
            command.Settings.push_back(SettingValue(value));
        else if (argument == "--out-folder")
            command.OutputFolder = value;
        else
            command.Processes = ProcessesValue(value);
    }
    if (command.Profile.empty()) throw ECommandLine("--profile needs a profile file name or profile name");
    if (command.Inputs.empty()) throw ECommandLine("The profile mode needs at least one input file");
    return command;
}

}  // namespace kestrova::cli
