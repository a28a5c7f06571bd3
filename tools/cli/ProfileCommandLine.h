#pragma once
// The profile mode of kestrova-cli:
//   kestrova-cli --profile <file name or profile name> [--set <parameter>=<value>]...
//                INPUT [INPUT]... [--out-folder DIR] [-processes N]
//   kestrova-cli --list
// Each input becomes one task whose records are built from the profile's defaults (changed by
// the --set pairs) the way the options dialog builds them, its output named and reserved
// beside the input or in DIR. N tasks run at once (1 when not given).
#include <string>
#include <utility>
#include <vector>

namespace kestrova::cli {

struct TProfileCommandLine {
    bool List = false;
    std::string Profile;
    std::vector<std::pair<std::string, std::string>> Settings;  // --set name=value, in order
    std::vector<std::string> Inputs;
    std::string OutputFolder;  // empty: beside each input
    int Processes = 1;
};

// Whether the arguments ask for the profile mode ("--profile" or "--list" among them).
bool IsProfileCommandLine(const std::vector<std::string>& arguments);

// Raises ECommandLine for a switch without its value, a --set without "=", an unknown switch,
// a -processes value that is not a whole number from 1 up, no input, or --list with anything
// else.
TProfileCommandLine ParseProfileCommandLine(const std::vector<std::string>& arguments);

}  // namespace kestrova::cli
