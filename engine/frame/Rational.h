#pragma once
// Rational helpers of the engine (frame rates, aspect ratios).
#include "engine/frame/LibHeaders.h"

namespace kestrova {

// The closest fraction to value whose numerator and denominator stay within limit (reduced with
// the library's av_reduce, so avutil must be bound). NaN gives 0/0; a magnitude beyond the int
// range gives +-1/0 (infinity), as the library's own conversion does.
AVRational DoubleToRational(double value, int limit);

}  // namespace kestrova
