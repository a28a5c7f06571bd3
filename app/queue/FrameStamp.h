#pragma once
// What the program draws on the frames of an output whose options ask for the custom hook: a
// frame counter, then the time stamp, the program's name and icon, and the picture turned upside
// down and mirrored, each for a hundred frames, so that a user sees the hook at work.
#include "engine/front/EngineEvents.h"

#include <QColor>
#include <QFont>
#include <QImage>

#include <map>
#include <mutex>

namespace kestrova {

class TFrameStamp {
public:
    // `icon` is drawn in the bottom right corner (it may be null).
    explicit TFrameStamp(QImage icon);

    // Draws on the hook's bitmap by its frame number and leaves Update set. Called on the
    // workers of the tasks; each task keeps its own pen between frames.
    void Draw(THookInfo& hookInfo);

private:
    struct TPen {
        QFont Font;
        QColor Colour = Qt::white;
    };

    TPen& PenOf(int taskIndex);

    QImage FIcon;
    std::mutex FLock;  // the pens of all tasks
    std::map<int, TPen> FPens;
};

// Turns the bitmap upside down, in place.
void FlipBitmapVertically(TEngineBitmap& bitmap);
// Mirrors every row of the bitmap, in place.
void MirrorBitmapHorizontally(TEngineBitmap& bitmap);

}  // namespace kestrova
