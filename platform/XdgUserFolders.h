#pragma once
#include "platform/UserFolders.h"

namespace kestrova::platform {

// The XDG user directories (user-dirs.dirs), with the toolkit's fallbacks under the home folder.
class TXdgUserFolders : public TUserFolders {
public:
    QString Documents() override;
    QString Videos() override;
};

}  // namespace kestrova::platform
