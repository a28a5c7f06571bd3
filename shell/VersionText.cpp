#include "shell/VersionText.h"

namespace kestrova {

QString VersionText() {
    return QStringLiteral(KESTROVA_VERSION_TEXT).left(3);
}

}  // namespace kestrova
