#include "ui/skin/SkinFace.h"

#include "ui/skin/SliceDraw.h"

namespace kestrova {

void TSkinFace::Draw(QPainter& painter, const QRect& target, TFaceState state) const {
    const QRect cell(QPoint(0, static_cast<int>(state) * kCellSize.height()), kCellSize);
    DrawSliced(painter, target, FPicture, cell, kFixedEdges);
}

}  // namespace kestrova
