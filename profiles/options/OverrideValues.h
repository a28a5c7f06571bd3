#pragma once
// What a parameter set by name (the command line's --set) may be when it is none of the
// profile's candidates: a number in the parameter's range, a WxH frame size, a W:H aspect, a
// norm, or an extension the profile's format writes. A value the options would read as
// something else ("abc" as 0 kbit/s, "1,2" as a 1x2 picture) is refused instead.
#include "profiles/store/ProfileDocument.h"

#include <QString>

namespace kestrova {

// Why `value` cannot be used for the parameter `key` (lower case), "" when it can.
QString OverrideValueError(const TProfileDocument& document, const QString& key, const QString& value);

}  // namespace kestrova
