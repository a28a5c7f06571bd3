#include "filenames/FolderName.h"

namespace kestrova {

QString WithoutTrailingSeparator(QString folder) {
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

}  // namespace kestrova
