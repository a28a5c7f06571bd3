#include "app/main/CloseDuringRun.h"

#include "shell/MessageBoxes.h"

#include <QString>

namespace kestrova {

bool MayCloseDuringRun(QWidget& window, bool running) {
    if (!running) return true;
    return AskYesNo(&window, QStringLiteral("Conversions are running. Stop them and close?"), false);
}

}  // namespace kestrova
