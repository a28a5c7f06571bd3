#include "ui/skin/TrackingHeader.h"

#include <QMouseEvent>
#include <QStyle>

#include <algorithm>

namespace kestrova {

namespace {

constexpr int kDividerLineWidth = 2;

}  // namespace

TTrackingHeader::TTrackingHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsMovable(false);
    setSectionsClickable(true);
    setHighlightSections(false);
    setStretchLastSection(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int TTrackingHeader::DividerAt(int x) const {
    // The same grip as the standard header's (and its resize cursor): the margin at the right
    // end of the section under x, or at its left end, which is the divider of the visible
    // section before it; past the last section, its divider's outer margin.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    int visual = visualIndexAt(x);
    if (visual < 0) {
        const int last = visualIndexAt(x - margin);
        return last >= 0 && sectionResizeMode(logicalIndex(last)) == Interactive ? logicalIndex(last) : -1;
    }
    const int logical = logicalIndex(visual);
    const int left = sectionViewportPosition(logical);
    int found = -1;
    if (x < left + margin) {
        while (--visual >= 0 && found < 0) {
            if (!isSectionHidden(logicalIndex(visual))) found = logicalIndex(visual);
        }
    } else if (x > left + sectionSize(logical) - margin) {
        found = logical;
    }
    return found >= 0 && sectionResizeMode(found) == Interactive ? found : -1;
}

int TTrackingHeader::TrackedWidth(int x) const {
    return std::max(minimumSectionSize(), FStartWidth + (x - FPressX));
}

void TTrackingHeader::PlaceDividerLine(int width) {
    QWidget* list = parentWidget();
    if (!list) return;
    if (!FDividerLine) {
        FDividerLine = new QWidget(list);
        FDividerLine->setAttribute(Qt::WA_TransparentForMouseEvents);
        FDividerLine->setAutoFillBackground(true);
        QPalette palette = FDividerLine->palette();
        palette.setColor(QPalette::Window, list->palette().color(QPalette::Highlight));
        FDividerLine->setPalette(palette);
    }
    const int x = sectionViewportPosition(FTrackedSection) + width - kDividerLineWidth / 2;
    const QPoint topLeft = mapTo(list, QPoint(x, 0));
    FDividerLine->setGeometry(topLeft.x(), topLeft.y(), kDividerLineWidth, list->height() - topLeft.y());
    FDividerLine->show();
    FDividerLine->raise();
}

void TTrackingHeader::HideDividerLine() {
    if (FDividerLine) FDividerLine->hide();
}

void TTrackingHeader::mousePressEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    const int section = event->button() == Qt::LeftButton ? DividerAt(x) : -1;
    if (section < 0) {
        QHeaderView::mousePressEvent(event);
        return;
    }
    FTrackedSection = section;
    FPressX = x;
    FStartWidth = sectionSize(section);
    FTrackWidth = FStartWidth;
    emit BeginTrack(section, FStartWidth);
    PlaceDividerLine(FTrackWidth);
}

void TTrackingHeader::mouseMoveEvent(QMouseEvent* event) {
    if (FTrackedSection < 0) {
        QHeaderView::mouseMoveEvent(event);
        return;
    }
    FTrackWidth = TrackedWidth(event->position().toPoint().x());
    PlaceDividerLine(FTrackWidth);
    emit Track(FTrackedSection, FTrackWidth);
}

void TTrackingHeader::mouseReleaseEvent(QMouseEvent* event) {
    if (FTrackedSection < 0 || event->button() != Qt::LeftButton) {
        QHeaderView::mouseReleaseEvent(event);
        return;
    }
    const int section = FTrackedSection;
    FTrackedSection = -1;
    HideDividerLine();
    resizeSection(section, FTrackWidth);
    emit EndTrack(section, FTrackWidth);
}

}  // namespace kestrova
