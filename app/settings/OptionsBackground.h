#pragma once
#include <QPixmap>
#include <QSize>

namespace kestrova {

// The options dialog's background: the skin's "Options_bg.png" when the program folder has
// one, else a plain light gradient of the given size.
QPixmap OptionsBackground(const QSize& size);

}  // namespace kestrova
