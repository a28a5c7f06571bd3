#include "data/vhook/art/ArtPieces.h"
#include "data/vhook/art/Shapes.h"

namespace kestrova::vhook::art {

TArtCanvas DrawWatermark() {
    TArtCanvas canvas(124, 48);
    const TShape badge = RoundedBox(62, 23, 58, 19, 19);
    canvas.Shadow(badge, 0, 2, 3, 0.35f);
    canvas.Fill(badge, LinearGradient({0, 4}, Rgb(252, 252, 253), {0, 42}, Rgb(214, 221, 229)), 0.92f);
    canvas.Fill(Outline(badge, 1.2f), Solid(Rgb(150, 160, 172)), 0.6f);

    // The emblem: a teal disc holding a play sign with softened corners.
    const TShape disc = Circle(23, 23, 15);
    canvas.Shadow(disc, 0, 1, 1.5f, 0.25f);
    canvas.Fill(disc, LinearGradient({0, 8}, Rgb(0, 170, 182), {0, 38}, Rgb(0, 100, 136)));
    canvas.Fill(Grown(Polygon({{20.5f, 16.5f}, {20.5f, 29.5f}, {30.5f, 23}}), 1.4f),
                Solid(Rgb(250, 250, 250)));

    // The queue: three bars shortening downwards, the first one in the emblem's colour.
    canvas.Fill(Capsule({46, 15}, {104, 15}, 2.6f), Solid(Rgb(0, 140, 160)));
    canvas.Fill(Capsule({46, 23}, {92, 23}, 2.6f), Solid(Rgb(52, 64, 80)));
    canvas.Fill(Capsule({46, 31}, {80, 31}, 2.6f), Solid(Rgb(52, 64, 80)));
    return canvas;
}

}  // namespace kestrova::vhook::art
