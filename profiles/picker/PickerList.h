#pragma once
#include <QListWidget>

namespace kestrova {

// One of the picker's owner-drawn lists. It follows the mouse itself: the item under the
// pointer is its hover item, drawn in the hover colour until the pointer leaves it. Taking
// the focus selects nothing: only the user's keys and clicks change its current item.
class TPickerList : public QListWidget {
    Q_OBJECT

public:
    explicit TPickerList(QWidget* parent = nullptr);

    // The row under the mouse; -1 when the mouse is elsewhere.
    int HoverRow() const { return FHoverRow; }

signals:
    void HoverRowChanged(int row);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void TrackHover(const QPoint& viewportPosition);
    void SetHoverRow(int row);

    int FHoverRow = -1;
};

}  // namespace kestrova
