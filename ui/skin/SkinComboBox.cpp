#include "ui/skin/SkinComboBox.h"

#include "ui/skin/SkinPalette.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>

namespace kestrova {

TSkinComboBox::TSkinComboBox(QWidget* parent) : QComboBox(parent) {
    setAttribute(Qt::WA_Hover);
    // The list closes by Escape or a click outside without hidePopup: its window says so.
    view()->window()->installEventFilter(this);
}

bool TSkinComboBox::PopupShown() const {
    const QWidget* popup = view()->window();
    return popup != window() && popup->isVisible();
}

bool TSkinComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view()->window() && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        update();
    return QComboBox::eventFilter(watched, event);
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
    if (FDrawnPressed || PopupShown()) return TFaceState::Pressed;
    if (underMouse()) return TFaceState::Hot;
    return TFaceState::Normal;
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

// The face picture has no focused cell: a dotted frame in the accent around the text.
void TSkinComboBox::PaintFocus(QPainter& painter) const {
    painter.setPen(QPen(QColor(skin::kAccent), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(2, 2, -TSkinFace::kArrowZoneWidth - 1, -3));
}

void TSkinComboBox::paintEvent(QPaintEvent* event) {
    if (FFace.IsNull()) {
        QComboBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    FFace.Draw(painter, rect(), FaceState());
    PaintCurrentItem(painter);
    if (hasFocus()) PaintFocus(painter);
}

}  // namespace kestrova
