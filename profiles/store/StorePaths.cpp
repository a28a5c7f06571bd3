#include "profiles/store/StorePaths.h"

namespace kestrova {

TStorePaths::TStorePaths(const QString& programFolder) : FProgramFolder(programFolder) {
    if (!FProgramFolder.endsWith(u'/')) FProgramFolder += u'/';
}

QString TStorePaths::ProfilesFolder() const {
    return FProgramFolder + QLatin1String("profiles/");
}

QString TStorePaths::UserFolder() const {
    return ProfilesFolder() + QLatin1String("userdefined/");
}

QString TStorePaths::RecentFile() const {
    return ProfilesFolder() + QLatin1String("recent.xml");
}

QString TStorePaths::UserIndexFile() const {
    return ProfilesFolder() + QLatin1String("userdefined.xml");
}

QString TStorePaths::LastPositionFile() const {
    return ProfilesFolder() + QLatin1String("last.xml");
}

QString TStorePaths::IconFile(const QString& imageName) const {
    return FProgramFolder + QLatin1String("skin/icon/") + imageName;
}

QString TStorePaths::ProfilePath(const QString& profileFile) const {
    QString relative = profileFile;
    relative.replace(u'\\', u'/');
    return ProfilesFolder() + relative;
}

QString UserProfileFile(const QString& fileName) {
    return QLatin1String("userdefined/") + fileName;
}

}  // namespace kestrova
