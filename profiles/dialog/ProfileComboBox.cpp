#include "profiles/dialog/ProfileComboBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace kestrova {

TProfileComboBox::TProfileComboBox(QWidget* parent) : TSkinComboBox(parent) {}

void TProfileComboBox::showPopup() {
    emit DropDownRequested();
}

void TProfileComboBox::mousePressEvent(QMouseEvent* event) {
    // Opening on release: the press that closes an open picker never reaches the combo, so a
    // second click on it closes the picker rather than opening it again.
    FPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TProfileComboBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
            FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    FPressed = false;
    event->accept();
    if (click) {
        setFocus(Qt::MouseFocusReason);
        emit DropDownRequested();
    }
}

void TProfileComboBox::wheelEvent(QWheelEvent* event) {
    event->accept();
}

void TProfileComboBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool opens = key == Qt::Key_F4 || key == Qt::Key_Space ||
                       ((key == Qt::Key_Down || key == Qt::Key_Up) && (event->modifiers() & Qt::AltModifier));
    if (opens) {
        event->accept();
        emit DropDownRequested();
        return;
    }
    // Arrows, paging and typed letters would select another item, the path among them;
    // Enter and Esc go on to the dialog.
    event->ignore();
}

}  // namespace kestrova
