#include "app/main/StartPanel.h"

#include <QMouseEvent>

namespace kestrova {

TStartPanel::TStartPanel(QWidget* parent) : QLabel(parent) {}

void TStartPanel::mouseReleaseEvent(QMouseEvent* event) {
    emit OnMouseUp(event->button(), event->position().toPoint());
    QLabel::mouseReleaseEvent(event);
}

}  // namespace kestrova
