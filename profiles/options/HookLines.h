#pragma once
// The "vhook" option lines of the external video hooks a row has switched on.
#include "profiles/options/OptionChoices.h"

#include <string>
#include <vector>

namespace kestrova {

// The arguments of one hook (the module path first), as the engine hands them to the module.
using THookArguments = std::vector<std::string>;

// The arguments of every active hook, in the order image, text, watermark, demo image, demo
// text. A hook is active in the external mode when it is checked and its module is present.
std::vector<THookArguments> ActiveHookArguments(const TOptionChoices& choices);

// One "vhook=" line per active hook, each ended by CR LF. The arguments are joined by blanks,
// or by "|" when one of them holds a blank (a folder name, a typed text), since the engine
// splits at "|" whenever the value holds one. With "PTS Periods" chosen and periods typed, a
// "vhookperiods=" line follows: the hooks then run only on the pictures inside them.
std::string BuildHookLines(const TOptionChoices& choices);

// Whether the engine takes the typed periods (a blank text stands for the whole duration).
bool HookPeriodsAccepted(const QString& periods);

}  // namespace kestrova
