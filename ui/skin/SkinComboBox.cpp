#include "ui/skin/SkinComboBox.h"

#include "ui/skin/SkinPalette.h"

#include <QPainter>

namespace kestrova {

TSkinComboBox::TSkinComboBox(QWidget* parent) : QComboBox(parent) {
    setAttribute(Qt::WA_Hover);
}

void TSkinComboBox::SetFacePicture(const QPixmap& picture) {
    FFace = TSkinFace(picture);
    update();
}

void TSkinComboBox::SetDrawnPressed(bool pressed) {
    FDrawnPressed = pressed;
    update();
}

TFaceState TSkinComboBox::FaceState() const {
    if (!isEnabled()) return TFaceState::Disabled;
    if (FDrawnPressed || FPopupShown) return TFaceState::Pressed;
    if (underMouse()) return TFaceState::Hot;
    return TFaceState::Normal;
}

void TSkinComboBox::showPopup() {
    FPopupShown = true;
    update();
    QComboBox::showPopup();
}

void TSkinComboBox::hidePopup() {
    QComboBox::hidePopup();
    FPopupShown = false;
    update();
}

void TSkinComboBox::enterEvent(QEnterEvent* event) {
    QComboBox::enterEvent(event);
    update();
}

void TSkinComboBox::leaveEvent(QEvent* event) {
    QComboBox::leaveEvent(event);
    update();
}

void TSkinComboBox::PaintCurrentItem(QPainter& painter) const {
    if (currentIndex() < 0) return;
    const QIcon icon = itemIcon(currentIndex());
    const QPoint textAt = icon.isNull() ? kTextAlone : kTextWithPicture;
    if (!icon.isNull()) icon.paint(&painter, kPictureRect);
    const QRect textRect(textAt, QPoint(width() - TSkinFace::kArrowZoneWidth - 2, height() - 1));
    painter.setPen(QColor(isEnabled() ? skin::kFaceText : skin::kFaceDisabledText));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop,
                     fontMetrics().elidedText(currentText(), Qt::ElideRight, textRect.width()));
}

void TSkinComboBox::paintEvent(QPaintEvent* event) {
    if (FFace.IsNull()) {
        QComboBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    FFace.Draw(painter, rect(), FaceState());
    PaintCurrentItem(painter);
}

}  // namespace kestrova
