#include "data/vhook/art/ArtPieces.h"
#include "data/vhook/art/Shapes.h"

namespace kestrova::vhook::art {

TArtCanvas DrawPostcard() {
    TArtCanvas canvas(96, 64);
    const TShape card = RoundedBox(48, 31, 45, 29, 6);
    canvas.Shadow(card, 0, 1.5f, 2.5f, 0.35f);
    canvas.Fill(card, Solid(Rgb(246, 246, 244)));

    // The scene, clipped to the card's window.
    const TShape window = RoundedBox(48, 31, 42, 26, 4);
    auto inWindow = [&window](TShape shape) { return Intersection(window, std::move(shape)); };
    canvas.Fill(window, LinearGradient({0, 5}, Rgb(38, 96, 196), {0, 44}, Rgb(150, 206, 242)));
    canvas.Fill(inWindow(Circle(66, 22, 16)),
                RadialGradient({66, 22}, 16, Rgb(255, 236, 150, 0.6f), Rgb(255, 236, 150, 0)));
    canvas.Fill(inWindow(Circle(66, 22, 7.5f)), Solid(Rgb(255, 214, 92)));

    const TShape cloud = Union(Union(Circle(25, 20, 4.5f), Circle(31, 17, 5.5f)),
                               Union(Circle(37, 20, 4.5f), RoundedBox(31, 22, 10, 2.5f, 2.5f)));
    canvas.Fill(inWindow(cloud), Solid(Rgb(252, 252, 252, 0.9f)));

    const TShape farHills = Union(Circle(22, 74, 34), Circle(72, 80, 38));
    canvas.Fill(inWindow(farHills), LinearGradient({0, 40}, Rgb(74, 146, 128), {0, 58}, Rgb(52, 112, 104)));
    const TShape nearHill = Circle(34, 100, 52);
    canvas.Fill(inWindow(nearHill), LinearGradient({0, 48}, Rgb(96, 178, 80), {0, 58}, Rgb(52, 124, 56)));
    canvas.Fill(Outline(window, 1), Solid(Rgb(0, 0, 0, 0.12f)));
    return canvas;
}

}  // namespace kestrova::vhook::art
