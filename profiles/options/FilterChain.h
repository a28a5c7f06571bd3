#pragma once
// The video filter chain of the filter choices.
#include "profiles/options/OptionChoices.h"

#include <string>

namespace kestrova {

// The checked filters joined by ",", in the order vflip, hflip, negate, scale, rotate, setpts
// ("" when none is checked). Scale and setpts are left out when their text is empty; the
// rotation is in degrees, 45 when its text is not a whole number.
std::string BuildFilterChain(const TVideoFilterChoices& filters);

}  // namespace kestrova
