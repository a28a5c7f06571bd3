#pragma once
// The part of the source a row converts when it is trimmed.
#include "profiles/options/OptionChoices.h"

#include <cstdint>
#include <optional>

namespace kestrova {

struct TTrimRange {
    int64_t Start = 0;     // microseconds into the source
    int64_t Duration = 0;  // microseconds
};

// A selection is usable when it ends after 0 and starts before its end.
bool IsValidSelection(int64_t selectionStart, int64_t selectionEnd);

// The selection fitted into the source: a start before 0 or at or past the end becomes 0, an
// end past the source's end (or not after the start) becomes the source's end. With an unknown
// duration (negative) the selection is taken as it is.
TTrimRange FitTrimRange(int64_t selectionStart, int64_t selectionEnd, int64_t duration);

// The range to convert when "Cut Clip" is checked and its selection is valid; nullopt otherwise.
std::optional<TTrimRange> ChosenTrimRange(const TOptionChoices& choices);

}  // namespace kestrova
