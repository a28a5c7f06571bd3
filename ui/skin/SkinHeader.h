#pragma once
#include <QMargins>
#include <QPixmap>
#include <QProxyStyle>

class QHeaderView;

namespace kestrova {

// The skinned list header: a style for QHeaderView that draws every section from the header
// strip (skin/main/header.png, 120 x 18): three cells side by side, normal, hot (pointer over)
// and pressed, each with a fixed left edge and a fixed right edge holding the divider; the
// middle stretches to the section's width. Captions are drawn in the skin's header colours.
// The header keeps its standard behaviour.
class TSkinHeader : public QProxyStyle {
    Q_OBJECT

public:
    static constexpr int kCellWidth = 40;
    static constexpr QMargins kFixedEdges{2, 0, 3, 0};
    static constexpr int kCaptionIndent = 6;

    explicit TSkinHeader(const QPixmap& strip, QObject* parent = nullptr);

    // Gives the header this style (sections then take the strip's height).
    void Attach(QHeaderView& header);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;

private:
    enum class TCell { Normal = 0, Hot = 1, Pressed = 2 };
    static TCell CellFor(const QStyleOption& option);
    QRect CellRect(TCell cell) const;
    void DrawLabel(const QStyleOption& option, QPainter& painter) const;

    QPixmap FStrip;
};

}  // namespace kestrova
