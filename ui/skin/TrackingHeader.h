#pragma once
#include <QHeaderView>
#include <QPointer>

namespace kestrova {

// A horizontal header whose column dividers are dragged the way a classic report list does
// it: while the divider is held only a divider line follows the pointer, and the column takes
// its new width when the button is released. Each drag raises BeginTrack once, Track on every
// move and EndTrack once, with the column's logical index and its width at that moment. Double
// clicks on a divider keep the standard behaviour (fit the column to its contents).
class TTrackingHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit TTrackingHeader(QWidget* parent = nullptr);

    // The logical index of the section whose right divider lies under x (viewport
    // coordinates), or -1.
    int DividerAt(int x) const;

signals:
    void BeginTrack(int logicalIndex, int width);
    void Track(int logicalIndex, int width);
    void EndTrack(int logicalIndex, int width);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int TrackedWidth(int x) const;
    void PlaceDividerLine(int width);
    void HideDividerLine();

    int FTrackedSection = -1;
    int FPressX = 0;
    int FStartWidth = 0;
    int FTrackWidth = 0;
    QPointer<QWidget> FDividerLine;  // drawn across the list while a divider is held
};

}  // namespace kestrova
