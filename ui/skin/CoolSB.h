#pragma once
#include <QPixmap>
#include <QProxyStyle>

class QAbstractScrollArea;

namespace kestrova {

// Where the parts of a scroll bar lie in a 17-pixel-high strip picture: the left edge of each
// cell. Arrow cells are 17 x 17 and drawn unscaled; page cells stretch; thumbs are pills whose
// middle row (vertical, 17 wide) or middle column (horizontal slices, 10 wide) stretches.
// "Active" thumbs are drawn under the pointer or while dragged, active pages while pressed.
// A negative position marks a part the strip does not have.
struct TScrollStripCells {
    int ArrowLeft;
    int ArrowLeftPressed;
    int ArrowRight;
    int ArrowRightPressed;
    int ArrowUp;
    int ArrowUpPressed;
    int ArrowDown;
    int ArrowDownPressed;
    int VerticalThumb;
    int VerticalThumbActive;
    int VerticalPageActive;
    int VerticalPage;
    int HorizontalThumb;
    int HorizontalThumbActive;
    int HorizontalPage;
    int HorizontalPageActive;
    int Corner;
};

inline constexpr int kStripCell = 17;
inline constexpr int kHorizontalSlice = 10;

// The queue's 272 x 17 strip (skin/main/scrollbar.png).
inline constexpr TScrollStripCells kQueueStripCells{0,   17,  34,  51,  68,  85,  102, 119, 136,
                                                    153, 170, 187, 204, 214, 224, 234, 244};
// The profile picker's 204 x 17 strip (skin/icon/list_scrollbar.png): the same vertical cells.
inline constexpr TScrollStripCells kPickerStripCells{0,   17,  34,  51, 68, 85, 102, 119, 136,
                                                     153, 170, 187, -1, -1, -1, -1,  -1};

// The skinned scroll bars: a style for QScrollBar that cuts every part from a strip picture
// and lays the bar out as the strip wants (17-pixel arrow buttons at both ends). Behaviour is
// the standard scroll bar's. Attach() gives a scroll area's bars this style and fills the
// corner between them; the style is owned by its parent.
class TCoolSB : public QProxyStyle {
    Q_OBJECT

public:
    TCoolSB(const QPixmap& strip, const TScrollStripCells& cells, QObject* parent = nullptr);

    void Attach(QAbstractScrollArea& area);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
                         const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;

    const QPixmap& Strip() const { return FStrip; }
    const TScrollStripCells& Cells() const { return FCells; }

private:
    void DrawArrow(QPainter& painter, const QRect& target, int cell) const;
    void DrawPage(QPainter& painter, const QRect& target, int cell, int cellWidth) const;
    void DrawThumb(QPainter& painter, const QRect& target, int cell, bool horizontal) const;

    QPixmap FStrip;
    TScrollStripCells FCells;
};

}  // namespace kestrova
