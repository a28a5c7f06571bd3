#pragma once
// A loaded profile's values as a row's choices: each parameter's candidate list with the item
// its default selects, and the whole profile part of TOptionChoices filled from the defaults,
// optionally with some parameters set by name (the command line's --set).
#include "profiles/options/OptionChoices.h"
#include "profiles/store/ProfileDocument.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace kestrova {

// The items a parameter offers and the one its default selects (-1: none).
struct TParameterList {
    QStringList Items;
    int Selected = -1;
};

// The parameter's `CandidatesValue` split at "," as it stands (no trimming; an empty list is
// one empty item), and the first item equal to `DefaultValue` as a whole, letter case ignored.
TParameterList ReadParameterList(const TProfileDocument& document, const QString& name);

// The profile name of a parameter ("videosize" ... "audiocodec").
QString ParameterName(TParameter parameter);

// "PAL" and "NTSC" in any letter case name those norms; anything else is automatic.
TNorm NormOfText(const QString& text);
// The norm the profile's `normtype` default selects.
TNorm ProfileNormOf(const TProfileDocument& document);

// (parameter name, value) pairs. The names are the ten parameters, "normtype" and
// "extensionname", in any letter case; a value equal to one of the parameter's candidates
// (letter case ignored) selects that candidate, any other value is taken as written.
using TParameterOverrides = std::vector<std::pair<QString, QString>>;

// Fills the profile part of `choices` (format, target profile, first extension, audio-only
// flag, the video preset and tag, the ten selections, the norm chosen and the profile's own) from the
// document's defaults, then applies the overrides. An unknown override name gives false with a message naming
// the known ones, a value the parameter cannot take (OverrideValues.h) false with the reason; either
// leaves `choices` as it was.
bool FillChoicesFromProfile(const TProfileDocument& document, const TParameterOverrides& overrides,
                            TOptionChoices& choices, QString* error = nullptr);

// The ten selections as the texts Save As writes back ("" for no selection).
TSelectedValues SelectedValues(const TParameterChoices& parameters);

}  // namespace kestrova
