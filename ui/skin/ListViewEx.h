#pragma once
#include <QRect>
#include <QStringList>
#include <QTreeWidget>

namespace kestrova {

class TTrackingHeader;

// What lies under a point of the list: the row, the sub-item (-1 for the first, caption
// column) and the cell's rectangle (list coordinates; its left and right are the column's
// span in content coordinates, so a caller subtracts HorizontalScrollOffset() to place
// something over the cell on screen). Row and sub-item are -1 and the cell empty when no row
// is there.
struct TListHit {
    int Row = -1;
    int SubItem = -1;
    QRect Cell;
};

// The column a header notification names: the header item's text decides. When it equals
// the caption of the column at the notified position, that position is the column; otherwise
// the first column with that caption; -1 when no column has it.
int ColumnIndexByCaption(int position, const QString& headerText, const QStringList& captions);

// The conversion queue's list: a report-style list (rows of cells, grid lines, whole-row
// selection, read-only) that also tells its owner when a column divider is taken, dragged and
// released, when a local file is dropped on it and when it is scrolled, and that answers which
// row and cell lie under the mouse.
class TListViewEx : public QTreeWidget {
    Q_OBJECT

public:
    explicit TListViewEx(QWidget* parent = nullptr);

    TTrackingHeader* TrackingHeader() const;

    QStringList ColumnCaptions() const;

    // The row, sub-item and cell under the mouse cursor, or under a point in list
    // coordinates (this widget's own, header included).
    TListHit HitTest() const;
    TListHit HitTestAt(const QPoint& listPoint) const;

    // How far the content is scrolled to the left, in pixels (never negative).
    int HorizontalScrollOffset() const;

    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool gridLines);

    // Every row this many pixels high (0: as high as its text needs).
    int RowHeight() const { return FRowHeight; }
    void SetRowHeight(int rowHeight);

signals:
    void OnBeginColumnResize(kestrova::TListViewEx* sender, int columnIndex, int columnWidth);
    void OnColumnResize(kestrova::TListViewEx* sender, int columnIndex, int columnWidth);
    void OnEndColumnResize(kestrova::TListViewEx* sender, int columnIndex, int columnWidth);
    void OnDropFile(kestrova::TListViewEx* Sender, const QString& FileName);
    // The same drop with every local file and folder it carries.
    void OnDropFiles(kestrova::TListViewEx* Sender, const QStringList& FileNames);
    void OnScroll(kestrova::TListViewEx* sender);

protected:
    virtual void DoBeginColumnResize(int columnIndex, int columnWidth);
    virtual void DoEndColumnResize(int columnIndex, int columnWidth);
    virtual void DoColumnResize(int columnIndex, int columnWidth);
    virtual void DoDropFile(const QString& fileName);

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    int NotifiedColumn(int logicalIndex) const;
    void ConnectHeader();
    void ConnectScrollBars();

    bool FGridLines = true;
    int FRowHeight = 0;
};

}  // namespace kestrova
