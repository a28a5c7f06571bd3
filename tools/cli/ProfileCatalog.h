#pragma once
// The profiles kestrova-cli knows: the built-in group list and the user profiles listed in the
// store's userdefined.xml (where the windows keep it too). Finds the profile a command line names and lists
// them all, each with whether its file can be used.
#include "profiles/store/GroupList.h"
#include "profiles/store/StorePaths.h"

#include <QString>

#include <optional>
#include <vector>

namespace kestrova::cli {

class TProfileCatalog {
public:
    explicit TProfileCatalog(TStorePaths paths);

    // The profile file that `text` names: a file that exists at that path, else a listed
    // profile whose file name (with or without ".xml"), display name, or display name without
    // its "(*.ext)" tail equals the text, letter case ignored. std::nullopt when none does.
    std::optional<QString> FindProfileFile(const QString& text) const;

    // Every group with its profiles, one line each: file name and display name, and for a
    // profile whose file cannot be used, why.
    QString ListingText() const;

    const std::vector<TProfileGroup>& Groups() const { return FGroups; }

private:
    TStorePaths FPaths;
    std::vector<TProfileGroup> FGroups;  // the groups that list profiles, user profiles last
};

}  // namespace kestrova::cli
