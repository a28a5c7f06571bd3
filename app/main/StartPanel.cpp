#include "app/main/StartPanel.h"

#include <QMouseEvent>

namespace kestrova {

TStartPanel::TStartPanel(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
}

void TStartPanel::mouseMoveEvent(QMouseEvent* event) {
    setCursor(AddHotSpot.contains(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QLabel::mouseMoveEvent(event);
}

// The press is the picture's own: passed on, the window would start a move, and the window
// manager's move grab would then take the release that opens Add.
void TStartPanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void TStartPanel::mouseReleaseEvent(QMouseEvent* event) {
    emit OnMouseUp(event->button(), event->position().toPoint());
    QLabel::mouseReleaseEvent(event);
}

}  // namespace kestrova
