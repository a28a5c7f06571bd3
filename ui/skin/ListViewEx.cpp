#include "ui/skin/ListViewEx.h"

#include "ui/skin/DroppedFiles.h"
#include "ui/skin/TrackingHeader.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace kestrova {

namespace {

// Gives every row the list's row height when one is set.
class TRowHeightDelegate : public QStyledItemDelegate {
public:
    explicit TRowHeightDelegate(TListViewEx& list) : QStyledItemDelegate(&list), FList(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (FList.RowHeight() > 0) size.setHeight(FList.RowHeight());
        return size;
    }

private:
    const TListViewEx& FList;
};

}  // namespace

int ColumnIndexByCaption(int position, const QString& headerText, const QStringList& captions) {
    if (position >= 0 && position < captions.size() && captions[position] == headerText) return position;
    return static_cast<int>(captions.indexOf(headerText));
}

TListViewEx::TListViewEx(QWidget* parent) : QTreeWidget(parent) {
    setHeader(new TTrackingHeader(this));
    header()->setSectionsClickable(true);  // setHeader() resets it; captions press like buttons
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    // Files from a file manager are taken, item drags are not offered.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setItemDelegate(new TRowHeightDelegate(*this));
    ConnectHeader();
    ConnectScrollBars();
}

TTrackingHeader* TListViewEx::TrackingHeader() const {
    return static_cast<TTrackingHeader*>(header());
}

QStringList TListViewEx::ColumnCaptions() const {
    QStringList captions;
    const QTreeWidgetItem* captionItem = headerItem();
    for (int column = 0; column < columnCount(); ++column) captions.append(captionItem->text(column));
    return captions;
}

int TListViewEx::NotifiedColumn(int logicalIndex) const {
    const QString headerText = header()->model()->headerData(logicalIndex, Qt::Horizontal).toString();
    return ColumnIndexByCaption(logicalIndex, headerText, ColumnCaptions());
}

void TListViewEx::ConnectHeader() {
    TTrackingHeader* tracking = TrackingHeader();
    connect(tracking, &TTrackingHeader::BeginTrack, this,
            [this](int section, int width) { DoBeginColumnResize(NotifiedColumn(section), width); });
    connect(tracking, &TTrackingHeader::Track, this,
            [this](int section, int width) { DoColumnResize(NotifiedColumn(section), width); });
    connect(tracking, &TTrackingHeader::EndTrack, this,
            [this](int section, int width) { DoEndColumnResize(NotifiedColumn(section), width); });
}

// A user's scroll action (arrow, page, thumb, wheel) is announced before the content moves.
void TListViewEx::ConnectScrollBars() {
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        connect(bar, &QAbstractSlider::actionTriggered, this, [this] { emit OnScroll(this); });
}

void TListViewEx::DoBeginColumnResize(int columnIndex, int columnWidth) {
    emit OnBeginColumnResize(this, columnIndex, columnWidth);
}

void TListViewEx::DoEndColumnResize(int columnIndex, int columnWidth) {
    emit OnEndColumnResize(this, columnIndex, columnWidth);
}

void TListViewEx::DoColumnResize(int columnIndex, int columnWidth) {
    emit OnColumnResize(this, columnIndex, columnWidth);
}

void TListViewEx::DoDropFile(const QString& fileName) {
    emit OnDropFile(this, fileName);
}

void TListViewEx::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData() && !FirstDroppedLocalFile(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TListViewEx::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData() && !FirstDroppedLocalFile(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TListViewEx::dropEvent(QDropEvent* event) {
    const QString fileName = event->mimeData() ? FirstDroppedLocalFile(*event->mimeData()) : QString();
    if (fileName.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    DoDropFile(fileName);
    emit OnDropFiles(this, DroppedLocalFiles(*event->mimeData()));
}

int TListViewEx::HorizontalScrollOffset() const {
    return std::max(0, horizontalScrollBar()->value());
}

TListHit TListViewEx::HitTest() const {
    return HitTestAt(mapFromGlobal(QCursor::pos()));
}

TListHit TListViewEx::HitTestAt(const QPoint& listPoint) const {
    const QPoint viewportOrigin = viewport()->geometry().topLeft();
    const int x = listPoint.x() - viewportOrigin.x() + HorizontalScrollOffset();
    TListHit hit;
    int columnLeft = 0;
    for (int column = 0; column < columnCount(); ++column) {
        const int columnWidth = header()->sectionSize(column);
        const int columnRight = columnLeft + columnWidth;
        if (x >= columnLeft && x <= columnRight) {  // a shared edge belongs to the left column
            const QPoint rowProbe(4 - viewportOrigin.x(), listPoint.y() - viewportOrigin.y());
            const QModelIndex index = indexAt(rowProbe);
            if (index.isValid()) {
                const QRect row = visualRect(index).translated(viewportOrigin);
                hit.Row = index.row();
                hit.SubItem = column - 1;
                hit.Cell = QRect(columnLeft + viewportOrigin.x(), row.top(), columnWidth, row.height());
            }
            break;
        }
        columnLeft = columnRight;
    }
    return hit;
}

void TListViewEx::SetGridLines(bool gridLines) {
    FGridLines = gridLines;
    viewport()->update();
}

void TListViewEx::SetRowHeight(int rowHeight) {
    FRowHeight = std::max(0, rowHeight);
    // Uniform row heights are measured once; a new height needs a new layout.
    doItemsLayout();
}

void TListViewEx::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QTreeWidget::drawRow(painter, option, index);
    if (!FGridLines) return;
    painter->save();
    painter->setPen(palette().color(QPalette::Mid));
    const QRect row = option.rect;
    painter->drawLine(row.left(), row.bottom(), row.right(), row.bottom());
    int x = -HorizontalScrollOffset();
    for (int column = 0; column < columnCount(); ++column) {
        x += header()->sectionSize(column);
        painter->drawLine(x - 1, row.top(), x - 1, row.bottom());
    }
    painter->restore();
}

}  // namespace kestrova
