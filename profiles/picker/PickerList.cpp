#include "profiles/picker/PickerList.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace kestrova {

TPickerList::TPickerList(QWidget* parent) : QListWidget(parent) {
    setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(false);
}

void TPickerList::mouseMoveEvent(QMouseEvent* event) {
    TrackHover(event->position().toPoint());
    QListWidget::mouseMoveEvent(event);
}

void TPickerList::leaveEvent(QEvent* event) {
    SetHoverRow(-1);
    QListWidget::leaveEvent(event);
}

void TPickerList::wheelEvent(QWheelEvent* event) {
    QListWidget::wheelEvent(event);
    // The list moved below a resting pointer: the item under it is another one now.
    TrackHover(event->position().toPoint());
}

void TPickerList::focusInEvent(QFocusEvent* event) {
    // The item views make their first item current when they take the focus without one;
    // in the picker that would count as choosing it.
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TPickerList::TrackHover(const QPoint& viewportPosition) {
    const QModelIndex index = indexAt(viewportPosition);
    SetHoverRow(index.isValid() ? index.row() : -1);
}

void TPickerList::SetHoverRow(int row) {
    if (row == FHoverRow) return;
    const int previous = FHoverRow;
    FHoverRow = row;
    // Only the item left and the item entered change their look.
    if (previous >= 0 && item(previous)) viewport()->update(visualItemRect(item(previous)));
    if (row >= 0 && item(row)) viewport()->update(visualItemRect(item(row)));
    emit HoverRowChanged(row);
}

}  // namespace kestrova
