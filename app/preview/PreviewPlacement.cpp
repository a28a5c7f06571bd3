#include "app/preview/PreviewPlacement.h"

#include <algorithm>
#include <array>

namespace kestrova {

namespace {

constexpr int kGap = 8;
constexpr int kSmallestWidth = 160;

// The free areas beside the main window, in the order they are tried.
std::array<QRect, 4> FreeSides(const QRect& main, const QRect& screen) {
    return {QRect(QPoint(main.right() + 1 + kGap, screen.top()), screen.bottomRight()),
            QRect(screen.topLeft(), QPoint(main.left() - 1 - kGap, screen.bottom())),
            QRect(QPoint(screen.left(), main.bottom() + 1 + kGap), screen.bottomRight()),
            QRect(screen.topLeft(), QPoint(screen.right(), main.top() - 1 - kGap))};
}

QSize Fitted(QSize size, QSize room) {
    return size.scaled(size.boundedTo(room), Qt::KeepAspectRatio);
}

}  // namespace

QSize PreviewSize(QSize picture) {
    if (picture.isEmpty()) return picture;
    return Fitted(picture, QSize(kPreviewWidth, kPreviewHeight));
}

QRect PreviewPlace(const QRect& mainWindow, const QRect& screen, QSize size, int index) {
    const std::array<QRect, 4> sides = FreeSides(mainWindow, screen);
    const auto fits = [&](const QRect& side) {
        return side.width() >= size.width() && side.height() >= size.height();
    };
    const auto found = std::find_if(sides.begin(), sides.end(), fits);
    QRect side = found != sides.end() ? *found : QRect();
    if (side.isNull()) {
        // No side has room: the roomiest one, with the window made to fit it.
        side = *std::max_element(sides.begin(), sides.end(), [](const QRect& a, const QRect& b) {
            return std::max(a.width(), 0) * std::max(a.height(), 0) <
                   std::max(b.width(), 0) * std::max(b.height(), 0);
        });
        const QSize smaller = Fitted(size, side.size().expandedTo(QSize(1, 1)));
        if (smaller.width() < kSmallestWidth)
            return QRect(screen.bottomRight() - QPoint(size.width(), size.height()) + QPoint(1, 1), size);
        size = smaller;
    }
    // Beside the main window's top, further windows below the first, all inside the side.
    const int across =
            side.height() >= size.height() ? std::max(side.height() / (size.height() + kGap), 1) : 1;
    const int top = std::clamp(mainWindow.top(), side.top(), side.bottom() + 1 - size.height());
    int left = std::clamp(mainWindow.left(), side.left(), side.right() + 1 - size.width());
    if (side == sides[0]) left = side.left();
    if (side == sides[1]) left = side.right() + 1 - size.width();
    const int step = (index % across) * (size.height() + kGap);
    QRect place(QPoint(left, top + step), size);
    if (place.bottom() > side.bottom()) place.moveBottom(side.bottom());
    return place;
}

}  // namespace kestrova
