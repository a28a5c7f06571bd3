#pragma once
// The TV norm of a disc profile (VCD, SVCD, DVD): the engine's target preset of that format
// under the chosen norm.
#include "engine/front/HostOptions.h"
#include "profiles/options/OptionChoices.h"

namespace kestrova {

// The output record's Target for a profile's `fileformat`: 1 "vcd", 2 "svcd", 3 "dvd", 0 for any
// other (the norm then means nothing).
int32_t DiscTargetOf(const QString& profileFormat);

// For a disc profile the record asks for the target preset of its format under the chosen norm,
// the profile's own norm deciding where "Auto" finds no norm in the source. The profile's frame
// size and rate are those of its own norm: they stay only while that norm is chosen; under the
// other norm, or "Auto", the target preset's size and rate for the norm it takes stand instead.
void FillDiscTarget(const TOptionChoices& choices, TOutputOptions& options);

}  // namespace kestrova
