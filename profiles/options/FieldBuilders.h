#pragma once
// The audio and video fields of the output record, each family from its chosen items.
#include "engine/front/HostOptions.h"
#include "profiles/options/OptionChoices.h"

namespace kestrova {

void FillAudioFields(const TOptionChoices& choices, TOutputOptions& options);
void FillVideoFields(const TOptionChoices& choices, TOutputOptions& options);

}  // namespace kestrova
