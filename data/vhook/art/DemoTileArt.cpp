#include "data/vhook/art/ArtPieces.h"
#include "data/vhook/art/Shapes.h"

#include <cmath>
#include <numbers>

namespace kestrova::vhook::art {

TArtCanvas DrawDemoTile() {
    TArtCanvas canvas(64, 64);
    const TShape tile = RoundedBox(32, 31, 27, 27, 13);
    canvas.Shadow(tile, 0, 2, 3, 0.4f);
    canvas.Fill(tile, LinearGradient({8, 6}, Rgb(255, 153, 51), {56, 58}, Rgb(224, 49, 112)));
    // A soft gloss over the upper part.
    canvas.Fill(Intersection(tile, Circle(22, -34, 60)), Solid(Rgb(255, 255, 255, 0.16f)));

    // The reel: a light disc with five round windows and a hub. Kept just off pure white, which
    // the hook's option line names as the transparent colour.
    TShape reel = Circle(32, 31, 17);
    for (int window = 0; window < 5; ++window) {
        const double angle = -std::numbers::pi / 2 + window * 2 * std::numbers::pi / 5;
        reel = Difference(reel, Circle(32 + 9.5f * static_cast<float>(std::cos(angle)),
                                       31 + 9.5f * static_cast<float>(std::sin(angle)), 4.2f));
    }
    reel = Difference(reel, Circle(32, 31, 2.2f));
    canvas.Shadow(reel, 0, 1.2f, 1.5f, 0.3f);
    canvas.Fill(reel, LinearGradient({0, 14}, Rgb(250, 250, 250), {0, 48}, Rgb(236, 230, 236)));
    return canvas;
}

}  // namespace kestrova::vhook::art
