#include "profiles/store/ProfileEntry.h"

#include <QDomElement>

namespace kestrova {

TProfileEntry ReadProfileEntry(const QDomElement& profile) {
    return TProfileEntry{
            profile.attribute(kProfileNameAttribute),
            profile.attribute(kDescribeNameAttribute),
            profile.attribute(kProfileImageAttribute),
            profile.attribute(kProfileFileAttribute),
    };
}

void WriteProfileEntry(QDomElement& profile, const TProfileEntry& entry) {
    profile.setAttribute(kProfileNameAttribute, entry.ProfileName);
    profile.setAttribute(kDescribeNameAttribute, entry.DescribeName);
    profile.setAttribute(kProfileImageAttribute, entry.ProfileImage);
    profile.setAttribute(kProfileFileAttribute, entry.ProfileFile);
}

QString ProfileNameStem(const QString& profileName) {
    const qsizetype bracket = profileName.indexOf(u'(');
    return bracket < 0 ? profileName : profileName.left(bracket);
}

QString ProfileNameTail(const QString& profileName) {
    const qsizetype bracket = profileName.indexOf(u'(');
    return bracket < 0 ? QString() : profileName.mid(bracket);
}

QString DescriptionText(const QString& describeName) {
    QString text = describeName;
    text.replace(QLatin1String("#13#10"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    return text;
}

}  // namespace kestrova
