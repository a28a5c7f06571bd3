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

void TStartPanel::mouseReleaseEvent(QMouseEvent* event) {
    emit OnMouseUp(event->button(), event->position().toPoint());
    QLabel::mouseReleaseEvent(event);
}

}  // namespace kestrova
