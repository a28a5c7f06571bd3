#include "shell/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace kestrova {

namespace {

QScreen* ScreenOf(const QWidget& window) {
    return window.screen() ? window.screen() : QGuiApplication::primaryScreen();
}

QSize OuterSize(const QWidget& window) {
    return window.frameGeometry().size();
}

}  // namespace

void CentreWindow(QWidget& window, const QRect& reference) {
    const QSize size = OuterSize(window);
    window.move(reference.width() / 2 - size.width() / 2, reference.height() / 2 - size.height() / 2);
    window.update();
}

void CentreWindow(QWidget& window, const QWidget& reference) {
    CentreWindow(window, reference.frameGeometry());
}

void CentreOnDesktop(QWidget& window) {
    if (const QScreen* screen = ScreenOf(window)) {
        const QRect desktop = screen->geometry();
        CentreWindow(window, desktop);
        window.move(window.pos() + desktop.topLeft());
    }
}

void CentreOnWorkArea(QWidget& window) {
    if (const QScreen* screen = ScreenOf(window)) {
        const QRect area = screen->availableGeometry();
        CentreWindow(window, area);
        window.move(window.pos() + area.topLeft());
    }
}

bool DragWindow(QWidget& window) {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    QWindow* handle = window.window()->windowHandle();
    return handle && handle->startSystemMove();
}

}  // namespace kestrova
