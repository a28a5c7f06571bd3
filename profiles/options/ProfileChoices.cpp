#include "profiles/options/ProfileChoices.h"

#include "profiles/options/OverrideValues.h"
#include "profiles/store/ValueList.h"

#include <optional>

namespace kestrova {

static_assert(kSelectableParameters.size() == kParameterCount);

namespace {

const QLatin1String kNormType{"normtype"};
const QLatin1String kExtensionName{"extensionname"};

TParameter ParameterAt(std::size_t index) {
    return static_cast<TParameter>(index);
}

std::optional<QString> SelectedItem(const TParameterList& list) {
    if (list.Selected < 0) return std::nullopt;
    return list.Items[list.Selected];
}

// The candidate equal to `value` (letter case ignored), else `value` itself.
QString CandidateOrTyped(const TProfileDocument& document, const QString& name, const QString& value) {
    for (const QString& item : SplitValues(document.CandidatesValue(name)))
        if (item.compare(value, Qt::CaseInsensitive) == 0) return item;
    return value;
}

bool IsKnownOverride(const QString& name) {
    if (name.compare(kNormType, Qt::CaseInsensitive) == 0 ||
        name.compare(kExtensionName, Qt::CaseInsensitive) == 0)
        return true;
    for (const char* parameter : kSelectableParameters)
        if (name.compare(QLatin1String(parameter), Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString KnownOverrideNames() {
    QStringList names;
    for (const char* parameter : kSelectableParameters) names.append(QLatin1String(parameter));
    names << kNormType << kExtensionName;
    return names.join(QStringLiteral(", "));
}

void FillDefaults(const TProfileDocument& document, TOptionChoices& choices) {
    choices.ProfileFormat = document.MainValue(QStringLiteral("fileformat"));
    choices.TargetProfile = document.MainValue(QStringLiteral("targetprofile"));
    choices.Extension = document.ExtensionNames().value(0);
    choices.AudioOnlyTarget = document.IsAudioOnlyTarget();
    choices.VideoPreset = document.DefaultValue(QStringLiteral("videopreset")).trimmed();
    choices.VideoTag = document.DefaultValue(QStringLiteral("videotag")).trimmed();
    for (std::size_t i = 0; i < kParameterCount; ++i)
        choices.Parameters[ParameterAt(i)] =
                SelectedItem(ReadParameterList(document, ParameterName(ParameterAt(i))));
    choices.Norm = choices.ProfileNorm = ProfileNormOf(document);
}

void ApplyOverride(const TProfileDocument& document, const QString& name, const QString& value,
                   TOptionChoices& choices) {
    const QString key = name.toLower();
    if (key == kExtensionName) {
        choices.Extension = value.startsWith(u'.') ? value.mid(1) : value;  // ".m4v" names m4v too
    } else if (key == kNormType) {
        choices.Norm = NormOfText(CandidateOrTyped(document, kNormType, value));
    } else {
        for (std::size_t i = 0; i < kParameterCount; ++i)
            if (key == QLatin1String(kSelectableParameters[i]))
                choices.Parameters[ParameterAt(i)] = CandidateOrTyped(document, key, value);
    }
}

}  // namespace

TParameterList ReadParameterList(const TProfileDocument& document, const QString& name) {
    TParameterList list;
    list.Items = SplitValues(document.CandidatesValue(name));
    const QString defaultValue = document.DefaultValue(name);
    for (qsizetype i = 0; i < list.Items.size(); ++i) {
        if (list.Items[i].compare(defaultValue, Qt::CaseInsensitive) == 0) {
            list.Selected = static_cast<int>(i);
            break;
        }
    }
    return list;
}

QString ParameterName(TParameter parameter) {
    return QLatin1String(kSelectableParameters[static_cast<std::size_t>(parameter)]);
}

TNorm NormOfText(const QString& text) {
    if (text.compare(QLatin1String("PAL"), Qt::CaseInsensitive) == 0) return TNorm::Pal;
    if (text.compare(QLatin1String("NTSC"), Qt::CaseInsensitive) == 0) return TNorm::Ntsc;
    return TNorm::Auto;
}

TNorm ProfileNormOf(const TProfileDocument& document) {
    return NormOfText(SelectedItem(ReadParameterList(document, kNormType)).value_or(QString()));
}

bool FillChoicesFromProfile(const TProfileDocument& document, const TParameterOverrides& overrides,
                            TOptionChoices& choices, QString* error) {
    for (const auto& [name, value] : overrides) {
        if (!IsKnownOverride(name)) {
            if (error)
                *error = QStringLiteral("Unknown profile parameter \"%1\"; the parameters are: %2.")
                                 .arg(name, KnownOverrideNames());
            return false;
        }
        if (const QString reason = OverrideValueError(document, name.toLower(), value); !reason.isEmpty()) {
            if (error) *error = reason;
            return false;
        }
    }
    FillDefaults(document, choices);
    for (const auto& [name, value] : overrides) ApplyOverride(document, name, value, choices);
    return true;
}

TSelectedValues SelectedValues(const TParameterChoices& parameters) {
    TSelectedValues values;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        values[i] = parameters[ParameterAt(i)].value_or(QString());
    return values;
}

}  // namespace kestrova
