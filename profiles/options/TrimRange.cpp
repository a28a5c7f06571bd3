#include "profiles/options/TrimRange.h"

namespace kestrova {

bool IsValidSelection(int64_t selectionStart, int64_t selectionEnd) {
    return selectionEnd > 0 && selectionStart < selectionEnd;
}

TTrimRange FitTrimRange(int64_t selectionStart, int64_t selectionEnd, int64_t duration) {
    int64_t start = selectionStart;
    int64_t end = selectionEnd;
    if (duration >= 0) {
        if (start < 0 || start >= duration) start = 0;
        if (start >= end || end > duration) end = duration;
    } else if (start < 0) {
        start = 0;
    }
    return TTrimRange{start, end - start};
}

std::optional<TTrimRange> ChosenTrimRange(const TOptionChoices& choices) {
    const TTrimChoice& trim = choices.Trim;
    if (!trim.Checked || !IsValidSelection(trim.SelectionStart, trim.SelectionEnd)) return std::nullopt;
    return FitTrimRange(trim.SelectionStart, trim.SelectionEnd, choices.Source.File.Duration);
}

}  // namespace kestrova
