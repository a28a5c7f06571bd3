#include "ui/skin/XGraphic.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kestrova {

namespace {

constexpr QSize kNewButtonSize(23, 23);

}  // namespace

TXGraphic::TXGraphic(QWidget* parent) : QWidget(parent) {
    setGeometry(QRect(QPoint(0, 0), kNewButtonSize));
    setMouseTracking(true);  // OnMouseMove without a held button, as the windows expect
}

void TXGraphic::Show(const QPixmap& picture) {
    FPicture = picture;
    if (FAutoSize && !FPicture.isNull()) resize(FPicture.deviceIndependentSize().toSize());
    update();
}

void TXGraphic::ShowEnabledState() {
    Show(isEnabled() ? FPictureNormal : FPictureDisabled);
}

void TXGraphic::SetPictureNormal(const QPixmap& picture) {
    FPictureNormal = picture;
    Show(FPictureNormal);
}

void TXGraphic::SetPictureOver(const QPixmap& picture) {
    FPictureOver = picture;
}

void TXGraphic::SetPictureClick(const QPixmap& picture) {
    FPictureClick = picture;
}

void TXGraphic::SetPictureDisabled(const QPixmap& picture) {
    FPictureDisabled = picture;
}

void TXGraphic::SetChecked(bool checked) {
    if (checked == FChecked) return;
    FChecked = checked;
    if (FChecked && isEnabled()) Show(FPictureClick);
}

void TXGraphic::SetEnabled(bool enabled) {
    setEnabled(enabled);
    ShowEnabledState();
}

void TXGraphic::SetAutoSize(bool autoSize) {
    FAutoSize = autoSize;
    if (FAutoSize && !FPicture.isNull()) resize(FPicture.deviceIndependentSize().toSize());
}

QSize TXGraphic::sizeHint() const {
    return FPicture.isNull() ? kNewButtonSize : FPicture.deviceIndependentSize().toSize();
}

void TXGraphic::paintEvent(QPaintEvent*) {
    if (FPicture.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, FPicture);
}

void TXGraphic::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (FChecked) return;
    emit OnMouseEnter();
    if (isEnabled()) Show(FPictureOver);
}

void TXGraphic::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (FChecked) return;
    emit OnMouseLeave();
    if (isEnabled()) Show(FPictureNormal);
}

void TXGraphic::ButtonDown(QMouseEvent* event) {
    emit OnMouseDown(event->button(), event->modifiers(), event->position().toPoint());
    if (FollowsPointer()) Show(FPictureClick);
}

void TXGraphic::mousePressEvent(QMouseEvent* event) {
    FClickPending = event->button() == Qt::LeftButton;
    ButtonDown(event);
}

void TXGraphic::mouseDoubleClickEvent(QMouseEvent* event) {
    FClickPending = false;
    if (event->button() == Qt::LeftButton) emit OnDblClick();
    ButtonDown(event);
}

void TXGraphic::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton && FClickPending) {
        FClickPending = false;
        if (rect().contains(position)) emit OnClick();
    }
    emit OnMouseUp(event->button(), event->modifiers(), position);
    if (FollowsPointer()) Show(FPictureOver);
}

void TXGraphic::mouseMoveEvent(QMouseEvent* event) {
    emit OnMouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void TXGraphic::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) ShowEnabledState();
}

}  // namespace kestrova
