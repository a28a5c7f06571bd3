#pragma once
#include <QString>

namespace kestrova {

// The program's title: the main window's caption and the caption of every message box. Qt's
// application display name is left unset, since the window system would add it to every
// window's caption.
inline const QString kApplicationTitle = QStringLiteral("Orvanta Kestrova");

}  // namespace kestrova
