#pragma once
#include <QRect>
#include <QSize>

namespace kestrova {

// The preview window's size for a picture: at most kPreviewWidth wide and kPreviewHeight high,
// its aspect kept (a smaller picture keeps its own size).
inline constexpr int kPreviewWidth = 480;
inline constexpr int kPreviewHeight = 360;
QSize PreviewSize(QSize picture);

// Where the `index`-th open preview window of `size` goes on `screen` (its free area): beside
// the main window's frame, right of it first, then left, below or above, each further window
// below the one before. Where no side has room the window is made smaller to fit the roomiest
// one; the result's size is the window's.
QRect PreviewPlace(const QRect& mainWindow, const QRect& screen, QSize size, int index);

}  // namespace kestrova
