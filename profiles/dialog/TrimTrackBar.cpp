#include "profiles/dialog/TrimTrackBar.h"

#include "ui/skin/SkinPalette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kestrova {

namespace {

constexpr int kThumbRadius = 7;
constexpr int kMarkerHalfWidth = 5;
constexpr int kMarkerHeight = 9;
constexpr int kTickTop = 18;
constexpr int kTickLength = 3;
const QColor kGroove(0xD5, 0xDC, 0xE4);
const QColor kTick(0xB9, 0xC3, 0xD0);
const QColor kThumbRim(0x8E, 0x9B, 0xAE);
const QColor kMarker(0xF2, 0x71, 0x1C);
const QColor kMarkerActive(0xC6, 0x5C, 0x14);

}  // namespace

TTrimTrackBar::TTrimTrackBar(QWidget* parent) : QAbstractSlider(parent) {
    setOrientation(Qt::Horizontal);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
}

void TTrimTrackBar::SetSelection(int start, int end) {
    FSelectionStart = start;
    FSelectionEnd = end;
    update();
}

void TTrimTrackBar::SetTickInterval(int units) {
    FTickInterval = std::max(units, 0);
    update();
}

QSize TTrimTrackBar::sizeHint() const {
    return {200, kMarkerTop + kMarkerHeight + 3};
}

int TTrimTrackBar::PositionOf(int value) const {
    const int span = maximum() - minimum();
    const int groove = std::max(width() - 2 * kSideMargin, 1);
    if (span <= 0) return kSideMargin;
    const double share = static_cast<double>(std::clamp(value, minimum(), maximum()) - minimum()) / span;
    return kSideMargin + static_cast<int>(std::lround(share * groove));
}

int TTrimTrackBar::ValueAt(int x) const {
    const int span = maximum() - minimum();
    const int groove = std::max(width() - 2 * kSideMargin, 1);
    const double share = static_cast<double>(x - kSideMargin) / groove;
    return std::clamp(minimum() + static_cast<int>(std::lround(share * span)), minimum(), maximum());
}

QPoint TTrimTrackBar::MarkerGrip(TMarker marker) const {
    const int value = marker == TMarker::Start ? FSelectionStart : FSelectionEnd;
    return {PositionOf(value), kMarkerTop + kMarkerHeight / 2 + 1};
}

TTrimTrackBar::TDrag TTrimTrackBar::MarkerUnder(const QPoint& at) const {
    if (at.y() < kMarkerTop - 2) return TDrag::None;
    const int toStart = std::abs(at.x() - PositionOf(FSelectionStart));
    const int toEnd = std::abs(at.x() - PositionOf(FSelectionEnd));
    if (std::min(toStart, toEnd) > kGrabDistance) return TDrag::None;
    // Markers on one spot: the one that can move in the direction of the grab.
    if (toStart == toEnd) return at.x() >= PositionOf(FSelectionEnd) ? TDrag::EndMarker : TDrag::StartMarker;
    return toStart < toEnd ? TDrag::StartMarker : TDrag::EndMarker;
}

void TTrimTrackBar::DragMarker(TDrag marker, int x) {
    int value = ValueAt(x);
    // The markers never cross: the marked part keeps at least one unit.
    if (marker == TDrag::StartMarker) {
        value = std::clamp(value, minimum(), std::max(FSelectionEnd - 1, minimum()));
        if (value == FSelectionStart) return;
        FSelectionStart = value;
        update();
        emit MarkerMoved(TMarker::Start, value);
    } else {
        value = std::clamp(value, std::min(FSelectionStart + 1, maximum()), maximum());
        if (value == FSelectionEnd) return;
        FSelectionEnd = value;
        update();
        emit MarkerMoved(TMarker::End, value);
    }
}

void TTrimTrackBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || maximum() <= minimum()) {
        event->ignore();
        return;
    }
    const QPoint at = event->position().toPoint();
    FDrag = MarkerUnder(at);
    if (FDrag != TDrag::None) {
        DragMarker(FDrag, at.x());
    } else {
        FDrag = TDrag::Thumb;
        const int thumb = PositionOf(sliderPosition());
        // A press beside the thumb brings it there; a press on it takes hold where it is.
        FThumbGrabOffset = std::abs(at.x() - thumb) <= kThumbRadius ? at.x() - thumb : 0;
        setSliderDown(true);
        setSliderPosition(ValueAt(at.x() - FThumbGrabOffset));
    }
    event->accept();
    update();
}

void TTrimTrackBar::mouseMoveEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x());
    switch (FDrag) {
        case TDrag::Thumb:
            setSliderPosition(ValueAt(x - FThumbGrabOffset));
            break;
        case TDrag::StartMarker:
        case TDrag::EndMarker:
            DragMarker(FDrag, x);
            break;
        case TDrag::None:
            update();  // the grips light up under the pointer
            break;
    }
    event->accept();
}

void TTrimTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    if (FDrag == TDrag::Thumb) setSliderDown(false);
    FDrag = TDrag::None;
    event->accept();
    update();
}

void TTrimTrackBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) painter.setOpacity(0.45);
    PaintGroove(painter);
    PaintTicks(painter);
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    const TDrag under = underMouse() ? MarkerUnder(pointer) : TDrag::None;
    PaintMarker(painter, FSelectionStart, FDrag == TDrag::StartMarker || under == TDrag::StartMarker);
    PaintMarker(painter, FSelectionEnd, FDrag == TDrag::EndMarker || under == TDrag::EndMarker);
    PaintThumb(painter);
}

void TTrimTrackBar::PaintGroove(QPainter& painter) const {
    const QRectF groove(kSideMargin, kGrooveY - 2, width() - 2 * kSideMargin, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGroove);
    painter.drawRoundedRect(groove, 2, 2);
    if (FSelectionEnd > FSelectionStart) {
        const int left = PositionOf(FSelectionStart);
        painter.setBrush(QColor(skin::kAccent));
        painter.drawRoundedRect(QRectF(left, groove.top(), PositionOf(FSelectionEnd) - left, groove.height()),
                                2, 2);
    }
}

void TTrimTrackBar::PaintTicks(QPainter& painter) const {
    if (FTickInterval <= 0 || maximum() <= minimum()) return;
    painter.setPen(QPen(kTick, 1));
    for (int value = minimum(); value <= maximum(); value += FTickInterval) {
        const qreal x = PositionOf(value) + 0.5;
        painter.drawLine(QPointF(x, kTickTop), QPointF(x, kTickTop + kTickLength));
        if (maximum() - value < FTickInterval) break;  // no overflow past the end
    }
}

void TTrimTrackBar::PaintMarker(QPainter& painter, int value, bool active) const {
    const qreal x = PositionOf(value) + 0.5;
    QPainterPath grip;
    grip.moveTo(x, kMarkerTop);
    grip.lineTo(x + kMarkerHalfWidth, kMarkerTop + kMarkerHeight);
    grip.lineTo(x - kMarkerHalfWidth, kMarkerTop + kMarkerHeight);
    grip.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(active ? kMarkerActive : kMarker);
    painter.drawPath(grip);
}

void TTrimTrackBar::PaintThumb(QPainter& painter) const {
    const QPointF centre(PositionOf(sliderPosition()) + 0.5, kGrooveY);
    const bool active = isSliderDown() || hasFocus();
    painter.setPen(QPen(active ? QColor(skin::kAccent) : kThumbRim, active ? 2 : 1.2));
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, kThumbRadius - 1, kThumbRadius - 1);
}

}  // namespace kestrova
