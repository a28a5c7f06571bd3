#pragma once
#include <QString>

namespace kestrova {

// Where the store's files lie. The built-in profiles and the pictures are read from the data
// folder D; the files the store writes (recent.xml, userdefined.xml, last.xml and the user
// profiles) lie below the user data folder U; the hook modules are looked for in the module
// folder M. A portable program folder P is all three.
class TStorePaths {
public:
    // D = U = M = P, with or without its trailing separator.
    explicit TStorePaths(const QString& programFolder);
    TStorePaths(const QString& dataFolder, const QString& userDataFolder, const QString& moduleFolder);

    const QString& DataFolder() const { return FDataFolder; }      // with trailing "/"
    const QString& ModuleFolder() const { return FModuleFolder; }  // with trailing "/"
    QString BuiltInFolder() const;                                 // D + "profiles/"
    QString WritableFolder() const;                                // U + "profiles/"
    QString UserFolder() const;                                    // U + "profiles/userdefined/"
    QString RecentFile() const;                                    // U + "profiles/recent.xml"
    QString UserIndexFile() const;                                 // U + "profiles/userdefined.xml"
    QString LastPositionFile() const;                              // U + "profiles/last.xml"
    QString IconFile(const QString& imageName) const;              // D + "skin/icon/" + name

    // The full path of a `profilefile` value: below U for a user profile ("userdefined/..."),
    // else below D. Values written with Windows separators ("userdefined\clip.xml") name the
    // same file.
    QString ProfilePath(const QString& profileFile) const;

private:
    QString FDataFolder;
    QString FUserDataFolder;
    QString FModuleFolder;
};

// The running program's store (ProgramLayout), its writable folder created when missing.
TStorePaths ProgramStorePaths();

// The `profilefile` value of a file in the user profile folder.
QString UserProfileFile(const QString& fileName);

}  // namespace kestrova
