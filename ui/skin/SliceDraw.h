#pragma once
#include <QMargins>
#include <QPixmap>
#include <QRect>

class QPainter;

namespace kestrova {

// Draws one cell of a strip picture into a target rectangle of any size: the cell's edges
// given by fixed (left, top, right, bottom pixels) keep their size and the rest stretches, so
// rounded corners and dividers stay crisp. Edges larger than the target shrink evenly.
void DrawSliced(QPainter& painter, const QRect& target, const QPixmap& strip, const QRect& cell,
                const QMargins& fixed);

}  // namespace kestrova
