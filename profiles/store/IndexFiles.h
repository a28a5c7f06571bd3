#pragma once
#include "profiles/store/IndexDocument.h"
#include "profiles/store/StorePaths.h"

#include <optional>

namespace kestrova {

// recent.xml. A missing, empty or unreadable file is taken as an empty list and written as
// such; `error` (optional) tells when even that write failed.
TIndexDocument LoadRecentProfiles(const TStorePaths& paths, QString* error = nullptr);

// userdefined.xml. A missing or empty file is created empty. A file that is not XML is left
// untouched for the user to repair: std::nullopt with the reason in `error`, since writing
// over it would lose the index of every user profile.
std::optional<TIndexDocument> LoadUserProfiles(const TStorePaths& paths, QString* error = nullptr);

}  // namespace kestrova
