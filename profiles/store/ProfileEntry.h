#pragma once
#include <QString>

class QDomElement;

namespace kestrova {

// Element and attribute names shared by the group list and the index documents.
inline constexpr QLatin1String kProfileElement{"profile"};
inline constexpr QLatin1String kProfileNameAttribute{"profilename"};
inline constexpr QLatin1String kDescribeNameAttribute{"describename"};
inline constexpr QLatin1String kProfileImageAttribute{"profileimage"};
inline constexpr QLatin1String kProfileFileAttribute{"profilefile"};

// One profile as the picker lists it: the four attributes of a `profile` element.
struct TProfileEntry {
    QString ProfileName;   // display name, by convention ending in its output pattern "(*.ext)"
    QString DescribeName;  // description; the six characters "#13#10" stand for a line break
    QString ProfileImage;  // picture file name under skin/icon/
    QString ProfileFile;   // profile file relative to profiles/, "userdefined/<name>.xml" for user profiles

    bool operator==(const TProfileEntry&) const = default;
};

TProfileEntry ReadProfileEntry(const QDomElement& profile);
void WriteProfileEntry(QDomElement& profile, const TProfileEntry& entry);

// The display name up to, not including, its first "(" (the whole name without one).
QString ProfileNameStem(const QString& profileName);
// The display name from its first "(" to the end ("" without one): the output pattern.
QString ProfileNameTail(const QString& profileName);

// The description as shown: every "#13#10", in any letter case, becomes CR LF.
QString DescriptionText(const QString& describeName);

}  // namespace kestrova
