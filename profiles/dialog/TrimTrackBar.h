#pragma once
#include <QAbstractSlider>

namespace kestrova {

// The preview's track bar: a slider for the preview position with a marked part between a
// start and an end marker. The thumb rides on the groove; the two markers sit below it and
// are dragged on their own; the marked part of the groove is drawn in the accent colour.
// Keys move the thumb as in any slider.
class TTrimTrackBar : public QAbstractSlider {
    Q_OBJECT

public:
    enum class TMarker { Start, End };

    static constexpr int kSideMargin = 8;  // the thumb's radius and a pixel: the groove's ends
    static constexpr int kGrooveY = 9;
    static constexpr int kMarkerTop = 18;
    static constexpr int kGrabDistance = 7;

    explicit TTrimTrackBar(QWidget* parent = nullptr);

    int SelectionStart() const { return FSelectionStart; }
    int SelectionEnd() const { return FSelectionEnd; }
    // Sets the marked part as given (the markers may stand in any order); no signal.
    void SetSelection(int start, int end);
    void SetTickInterval(int units);
    int TickInterval() const { return FTickInterval; }

    // Where a value lies on the groove, and the value at a horizontal position.
    int PositionOf(int value) const;
    int ValueAt(int x) const;
    // The middle of a marker's grip, for pointing at it.
    QPoint MarkerGrip(TMarker marker) const;

    QSize sizeHint() const override;

signals:
    // The user dragged a marker to `value`.
    void MarkerMoved(TMarker marker, int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class TDrag { None, Thumb, StartMarker, EndMarker };

    TDrag MarkerUnder(const QPoint& at) const;
    void DragMarker(TDrag marker, int x);
    void PaintGroove(QPainter& painter) const;
    void PaintTicks(QPainter& painter) const;
    void PaintMarker(QPainter& painter, int value, bool active) const;
    void PaintThumb(QPainter& painter) const;

    int FSelectionStart = 0;
    int FSelectionEnd = 0;
    int FTickInterval = 0;
    TDrag FDrag = TDrag::None;
    int FThumbGrabOffset = 0;
};

}  // namespace kestrova
