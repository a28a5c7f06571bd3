#pragma once
// The "vhook" option value: a hook module followed by its own arguments.
#include <string>
#include <vector>

namespace kestrova {

inline constexpr std::size_t kMaxVideoHookArguments = 254;

// Splits at "|" when the value holds one, else at blanks; empty pieces are skipped and at most
// kMaxVideoHookArguments are kept. The first argument is the module.
std::vector<std::string> SplitVideoHookArguments(const std::string& value);

}  // namespace kestrova
