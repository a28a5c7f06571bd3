#include "ui/skin/SliceDraw.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace kestrova {

namespace {

// The three spans (start, fixed start edge; middle; fixed end edge) of one axis.
struct TSpans {
    std::array<int, 4> Edges;  // positions: start, after the first edge, before the last edge, end
};

TSpans SplitAxis(int start, int length, int firstEdge, int lastEdge) {
    int first = firstEdge;
    int last = lastEdge;
    if (first + last > length) {  // too small for both edges: share what there is
        const int total = std::max(1, first + last);
        first = length * first / total;
        last = length - first;
    }
    return {{start, start + first, start + length - last, start + length}};
}

}  // namespace

void DrawSliced(QPainter& painter, const QRect& target, const QPixmap& strip, const QRect& cell,
                const QMargins& fixed) {
    if (target.isEmpty() || strip.isNull() || cell.isEmpty()) return;
    const TSpans sourceX = SplitAxis(cell.left(), cell.width(), fixed.left(), fixed.right());
    const TSpans sourceY = SplitAxis(cell.top(), cell.height(), fixed.top(), fixed.bottom());
    const TSpans targetX = SplitAxis(target.left(), target.width(), fixed.left(), fixed.right());
    const TSpans targetY = SplitAxis(target.top(), target.height(), fixed.top(), fixed.bottom());
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect from(QPoint(sourceX.Edges[column], sourceY.Edges[row]),
                             QPoint(sourceX.Edges[column + 1] - 1, sourceY.Edges[row + 1] - 1));
            const QRect to(QPoint(targetX.Edges[column], targetY.Edges[row]),
                           QPoint(targetX.Edges[column + 1] - 1, targetY.Edges[row + 1] - 1));
            if (!from.isEmpty() && !to.isEmpty()) painter.drawPixmap(to, strip, from);
        }
    }
}

}  // namespace kestrova
