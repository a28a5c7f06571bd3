#pragma once
#include <QString>

namespace kestrova::platform {

// The user's well-known folders. Paths come without trailing separator; empty when the
// desktop does not name such a folder.
class TUserFolders {
public:
    virtual ~TUserFolders() = default;

    virtual QString Documents() = 0;
    virtual QString Videos() = 0;
};

}  // namespace kestrova::platform
