#pragma once
#include <QString>

namespace kestrova {

// Where the store's files lie below a program folder P.
class TStorePaths {
public:
    // P, with or without its trailing separator.
    explicit TStorePaths(const QString& programFolder);

    const QString& ProgramFolder() const { return FProgramFolder; }  // with trailing "/"
    QString ProfilesFolder() const;                                  // P + "profiles/"
    QString UserFolder() const;                                      // P + "profiles/userdefined/"
    QString RecentFile() const;                                      // P + "profiles/recent.xml"
    QString UserIndexFile() const;                                   // P + "profiles/userdefined.xml"
    QString LastPositionFile() const;                                // P + "profiles/last.xml"
    QString IconFile(const QString& imageName) const;                // P + "skin/icon/" + name

    // The full path of a `profilefile` value. Values written with Windows separators
    // ("userdefined\clip.xml") name the same file.
    QString ProfilePath(const QString& profileFile) const;

private:
    QString FProgramFolder;
};

// The `profilefile` value of a file in the user profile folder.
QString UserProfileFile(const QString& fileName);

}  // namespace kestrova
