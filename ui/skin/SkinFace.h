#pragma once
#include <QMargins>
#include <QPixmap>
#include <QSize>

class QPainter;

namespace kestrova {

enum class TFaceState { Normal = 0, Hot = 1, Pressed = 2, Disabled = 3 };

// The face picture of the options dialog's skinned combo and drop button
// (skin/icon/profile_bg.png, 64 x 104): four 64 x 26 cells from the top, normal, hot,
// pressed and disabled. A face stretches to any size; its 6-pixel left, top and bottom edges
// and the 22-pixel arrow zone at the right keep their size.
class TSkinFace {
public:
    static constexpr QSize kCellSize{64, 26};
    static constexpr QMargins kFixedEdges{6, 6, 22, 6};
    static constexpr int kArrowZoneWidth = 22;

    TSkinFace() = default;
    explicit TSkinFace(const QPixmap& picture) : FPicture(picture) {}

    bool IsNull() const { return FPicture.isNull(); }
    const QPixmap& Picture() const { return FPicture; }
    void Draw(QPainter& painter, const QRect& target, TFaceState state) const;

private:
    QPixmap FPicture;
};

}  // namespace kestrova
