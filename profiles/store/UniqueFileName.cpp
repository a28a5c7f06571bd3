#include "profiles/store/UniqueFileName.h"

#include "filenames/NumberedFileName.h"

namespace kestrova {

QString MakeUniqueFileName(const QString& path, const QString& extension) {
    return NumberedFileName(path, extension);
}

}  // namespace kestrova
