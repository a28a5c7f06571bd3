#pragma once
#include <QRect>

class QWidget;

namespace kestrova {

// Places the window at (W/2 - w/2, H/2 - h/2) from the screen origin, with W, H the size of
// the reference rectangle and w, h the window's own size (divisions truncate), keeping its
// size. With the desktop as reference this centres the window on the desktop.
void CentreWindow(QWidget& window, const QRect& reference);
void CentreWindow(QWidget& window, const QWidget& reference);

// Centres the window on the whole screen it is on.
void CentreOnDesktop(QWidget& window);

// Centres the window on the work area (the screen less panels and docks) of its screen.
void CentreOnWorkArea(QWidget& window);

// Lets the window manager move the window with the mouse, as if its caption had been
// grabbed: used by borderless windows on a mouse press over their background.
// False when the window system cannot move windows this way.
bool DragWindow(QWidget& window);

}  // namespace kestrova
