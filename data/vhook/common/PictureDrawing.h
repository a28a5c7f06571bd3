#pragma once
// Lays a prepared overlay over a video picture in place. Only the part of the overlay that lies
// inside the picture is drawn: no sample outside the picture's planes is read or written.
#include "data/vhook/common/HookInterface.h"
#include "data/vhook/common/Overlay.h"

namespace kestrova::vhook {

// Draws `overlay` with its top-left corner at (x, y) of a width x height picture laid out as the
// overlay was prepared for. A picture whose line sizes cannot hold its width is left alone.
void DrawOverlay(THookPicture& picture, int width, int height, const TOverlay& overlay, int x, int y);

// A position computed from an expression, made safe to draw at: non-finite values give nothing.
bool ToPixelPosition(double value, int& position);

}  // namespace kestrova::vhook
