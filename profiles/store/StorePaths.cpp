#include "profiles/store/StorePaths.h"

#include "engine/frame/ProgramLayout.h"

#include <QDir>
#include <QFile>

namespace kestrova {

namespace {

constexpr QLatin1String kUserFolderName{"userdefined/"};

QString WithSeparator(QString folder) {
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

QString FromBytes(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

TStorePaths::TStorePaths(const QString& programFolder)
    : TStorePaths(programFolder, programFolder, programFolder) {}

TStorePaths::TStorePaths(const QString& dataFolder, const QString& userDataFolder,
                         const QString& moduleFolder)
    : FDataFolder(WithSeparator(dataFolder)), FUserDataFolder(WithSeparator(userDataFolder)),
      FModuleFolder(WithSeparator(moduleFolder)) {}

QString TStorePaths::BuiltInFolder() const {
    return FDataFolder + QLatin1String("profiles/");
}

QString TStorePaths::WritableFolder() const {
    return FUserDataFolder + QLatin1String("profiles/");
}

QString TStorePaths::UserFolder() const {
    return WritableFolder() + kUserFolderName;
}

QString TStorePaths::RecentFile() const {
    return WritableFolder() + QLatin1String("recent.xml");
}

QString TStorePaths::UserIndexFile() const {
    return WritableFolder() + QLatin1String("userdefined.xml");
}

QString TStorePaths::LastPositionFile() const {
    return WritableFolder() + QLatin1String("last.xml");
}

QString TStorePaths::IconFile(const QString& imageName) const {
    return FDataFolder + QLatin1String("skin/icon/") + imageName;
}

QString TStorePaths::ProfilePath(const QString& profileFile) const {
    QString relative = profileFile;
    relative.replace(u'\\', u'/');
    return (relative.startsWith(kUserFolderName) ? WritableFolder() : BuiltInFolder()) + relative;
}

TStorePaths ProgramStorePaths() {
    const TProgramLayout& layout = ProgramLayout();
    TStorePaths paths(FromBytes(layout.DataFolder), FromBytes(layout.UserDataFolder),
                      FromBytes(layout.ModuleFolder));
    QDir().mkpath(paths.WritableFolder());
    return paths;
}

QString UserProfileFile(const QString& fileName) {
    return kUserFolderName + fileName;
}

}  // namespace kestrova
