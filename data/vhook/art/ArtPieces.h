#pragma once
// The pictures the hook modules draw, each designed at its final pixel size.
#include "data/vhook/art/ArtCanvas.h"

namespace kestrova::vhook::art {

// The watermark: a light pill-shaped badge with a teal play emblem and three queue bars.
TArtCanvas DrawWatermark();
// The demonstration hook's picture: a warm app-style tile with a film reel.
TArtCanvas DrawDemoTile();
// The image-and-text hook's picture: a small landscape postcard.
TArtCanvas DrawPostcard();

}  // namespace kestrova::vhook::art
