#include "ui/skin/CoolSB.h"

#include "ui/skin/SliceDraw.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>

#include <algorithm>

namespace kestrova {

namespace {

constexpr int kMinimumThumb = 20;

// Fills the corner between the two scroll bars with the strip's corner cell.
class TStripCorner : public QWidget {
public:
    TStripCorner(const QPixmap& strip, int cell, QWidget* parent)
        : QWidget(parent), FStrip(strip), FCell(cell) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(rect(), FStrip, QRect(FCell, 0, kStripCell, kStripCell));
    }

private:
    QPixmap FStrip;
    int FCell;
};

struct TBarLayout {
    int Button = 0;       // length of each arrow button
    int GrooveStart = 0;  // along the bar
    int GrooveLength = 0;
    int ThumbStart = 0;
    int ThumbLength = 0;
};

TBarLayout LayOut(const QStyleOptionSlider& bar, int length) {
    TBarLayout layout;
    layout.Button = std::min(kStripCell, length / 2);
    layout.GrooveStart = layout.Button;
    layout.GrooveLength = std::max(0, length - 2 * layout.Button);
    const qint64 range = qint64(bar.maximum) - bar.minimum;
    if (range <= 0) {
        layout.ThumbLength = layout.GrooveLength;
    } else {
        const qint64 proportional = qint64(layout.GrooveLength) * bar.pageStep / (range + bar.pageStep);
        layout.ThumbLength = static_cast<int>(std::clamp<qint64>(
                proportional, std::min(kMinimumThumb, layout.GrooveLength), layout.GrooveLength));
    }
    layout.ThumbStart =
            layout.GrooveStart + QStyle::sliderPositionFromValue(bar.minimum, bar.maximum, bar.sliderPosition,
                                                                 layout.GrooveLength - layout.ThumbLength,
                                                                 bar.upsideDown);
    return layout;
}

QRect Along(const QRect& bar, bool horizontal, int start, int length) {
    if (length <= 0) return {};
    return horizontal ? QRect(bar.x() + start, bar.y(), length, bar.height())
                      : QRect(bar.x(), bar.y() + start, bar.width(), length);
}

}  // namespace

TCoolSB::TCoolSB(const QPixmap& strip, const TScrollStripCells& cells, QObject* parent)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), FStrip(strip), FCells(cells) {
    setParent(parent);
}

void TCoolSB::Attach(QAbstractScrollArea& area) {
    for (QScrollBar* bar : {area.horizontalScrollBar(), area.verticalScrollBar()}) bar->setStyle(this);
    if (FCells.Corner >= 0) area.setCornerWidget(new TStripCorner(FStrip, FCells.Corner, &area));
}

void TCoolSB::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    if (qobject_cast<QScrollBar*>(widget))
        widget->setAttribute(Qt::WA_Hover);  // the thumb lights up under the pointer
}

int TCoolSB::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    switch (metric) {
        case PM_ScrollBarExtent:
            return kStripCell;
        case PM_ScrollBarSliderMin:
            return kMinimumThumb;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QRect TCoolSB::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                              SubControl subControl, const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar)
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const QRect& area = bar->rect;
    const int length = horizontal ? area.width() : area.height();
    const TBarLayout layout = LayOut(*bar, length);
    const int grooveEnd = layout.GrooveStart + layout.GrooveLength;
    const int thumbEnd = layout.ThumbStart + layout.ThumbLength;
    switch (subControl) {
        case SC_ScrollBarSubLine:
            return Along(area, horizontal, 0, layout.Button);
        case SC_ScrollBarAddLine:
            return Along(area, horizontal, length - layout.Button, layout.Button);
        case SC_ScrollBarGroove:
            return Along(area, horizontal, layout.GrooveStart, layout.GrooveLength);
        case SC_ScrollBarSlider:
            return Along(area, horizontal, layout.ThumbStart, layout.ThumbLength);
        case SC_ScrollBarSubPage:
            return Along(area, horizontal, layout.GrooveStart, layout.ThumbStart - layout.GrooveStart);
        case SC_ScrollBarAddPage:
            return Along(area, horizontal, thumbEnd, grooveEnd - thumbEnd);
        default:
            return {};
    }
}

void TCoolSB::DrawArrow(QPainter& painter, const QRect& target, int cell) const {
    if (target.isEmpty() || cell < 0) return;
    painter.save();
    painter.setClipRect(target);
    painter.drawPixmap(target.topLeft(), FStrip, QRect(cell, 0, kStripCell, kStripCell));
    painter.restore();
}

void TCoolSB::DrawPage(QPainter& painter, const QRect& target, int cell, int cellWidth) const {
    if (!target.isEmpty() && cell >= 0)
        painter.drawPixmap(target, FStrip, QRect(cell, 0, cellWidth, kStripCell));
}

void TCoolSB::DrawThumb(QPainter& painter, const QRect& target, int cell, bool horizontal) const {
    if (cell < 0) return;
    if (horizontal) {
        const int middle = kHorizontalSlice / 2 - 1;
        DrawSliced(painter, target, FStrip, QRect(cell, 0, kHorizontalSlice, kStripCell),
                   QMargins(middle, 0, kHorizontalSlice - middle - 1, 0));
    } else {
        const int middle = kStripCell / 2;
        DrawSliced(painter, target, FStrip, QRect(cell, 0, kStripCell, kStripCell),
                   QMargins(0, middle, 0, kStripCell - middle - 1));
    }
}

void TCoolSB::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                 const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar || FStrip.isNull()) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const SubControls pressed = (bar->state & State_Sunken) ? bar->activeSubControls : SubControls(SC_None);
    const SubControls hot = (bar->state & State_MouseOver) ? bar->activeSubControls : SubControls(SC_None);
    auto part = [&](SubControl sub) { return subControlRect(CC_ScrollBar, bar, sub, widget); };
    auto choose = [&](SubControl sub, int normal, int active) { return (pressed & sub) ? active : normal; };

    painter->save();
    if (!(bar->state & State_Enabled)) painter->setOpacity(0.5);
    if (horizontal) {
        DrawPage(*painter, part(SC_ScrollBarGroove), FCells.HorizontalPage, kHorizontalSlice);
        DrawPage(*painter, part(SC_ScrollBarSubPage),
                 choose(SC_ScrollBarSubPage, FCells.HorizontalPage, FCells.HorizontalPageActive),
                 kHorizontalSlice);
        DrawPage(*painter, part(SC_ScrollBarAddPage),
                 choose(SC_ScrollBarAddPage, FCells.HorizontalPage, FCells.HorizontalPageActive),
                 kHorizontalSlice);
        const bool thumbActive = (pressed | hot) & SC_ScrollBarSlider;
        DrawThumb(*painter, part(SC_ScrollBarSlider),
                  thumbActive ? FCells.HorizontalThumbActive : FCells.HorizontalThumb, true);
        DrawArrow(*painter, part(SC_ScrollBarSubLine),
                  choose(SC_ScrollBarSubLine, FCells.ArrowLeft, FCells.ArrowLeftPressed));
        DrawArrow(*painter, part(SC_ScrollBarAddLine),
                  choose(SC_ScrollBarAddLine, FCells.ArrowRight, FCells.ArrowRightPressed));
    } else {
        DrawPage(*painter, part(SC_ScrollBarGroove), FCells.VerticalPage, kStripCell);
        DrawPage(*painter, part(SC_ScrollBarSubPage),
                 choose(SC_ScrollBarSubPage, FCells.VerticalPage, FCells.VerticalPageActive), kStripCell);
        DrawPage(*painter, part(SC_ScrollBarAddPage),
                 choose(SC_ScrollBarAddPage, FCells.VerticalPage, FCells.VerticalPageActive), kStripCell);
        const bool thumbActive = (pressed | hot) & SC_ScrollBarSlider;
        DrawThumb(*painter, part(SC_ScrollBarSlider),
                  thumbActive ? FCells.VerticalThumbActive : FCells.VerticalThumb, false);
        DrawArrow(*painter, part(SC_ScrollBarSubLine),
                  choose(SC_ScrollBarSubLine, FCells.ArrowUp, FCells.ArrowUpPressed));
        DrawArrow(*painter, part(SC_ScrollBarAddLine),
                  choose(SC_ScrollBarAddLine, FCells.ArrowDown, FCells.ArrowDownPressed));
    }
    painter->restore();
}

}  // namespace kestrova
