#include "ui/skin/SkinDropButton.h"

#include "ui/skin/SkinPalette.h"

#include <QMenu>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace kestrova {

namespace {

constexpr int kCaptionPadding = 8;

}  // namespace

TSkinDropButton::TSkinDropButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAttribute(Qt::WA_Hover);
    setAutoDefault(false);
}

void TSkinDropButton::SetFacePicture(const QPixmap& picture) {
    FFace = TSkinFace(picture);
    update();
}

TFaceState TSkinDropButton::FaceState() const {
    if (!isEnabled()) return TFaceState::Disabled;
    if (isDown() || (menu() && menu()->isVisible())) return TFaceState::Pressed;
    if (underMouse()) return TFaceState::Hot;
    return TFaceState::Normal;
}

QSize TSkinDropButton::sizeHint() const {
    if (FFace.IsNull()) return QPushButton::sizeHint();
    const int captionWidth = fontMetrics().horizontalAdvance(text());
    return {TSkinFace::kFixedEdges.left() + 2 * kCaptionPadding + captionWidth + TSkinFace::kArrowZoneWidth,
            std::max(TSkinFace::kCellSize.height(), fontMetrics().height() + 8)};
}

void TSkinDropButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    update();
}

void TSkinDropButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    update();
}

void TSkinDropButton::paintEvent(QPaintEvent* event) {
    if (FFace.IsNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const TFaceState state = FaceState();
    FFace.Draw(painter, rect(), state);
    QRect caption = rect().adjusted(TSkinFace::kFixedEdges.left(), 0, -TSkinFace::kArrowZoneWidth, 0);
    if (state == TFaceState::Pressed) caption.translate(0, 1);
    painter.setPen(QColor(isEnabled() ? skin::kFaceText : skin::kFaceDisabledText));
    painter.drawText(caption, Qt::AlignCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, caption.width()));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = caption.adjusted(2, 4, -2, -4);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace kestrova
