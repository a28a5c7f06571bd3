#include "PictureChecks.h"

#include <algorithm>
#include <cstdlib>

namespace kestrova::vhooktest {

TArea OverlayReach(int x, int y, int width, int height, int pictureWidth, int pictureHeight) {
    return {std::max(0, x - kChromaReach), std::max(0, y - kChromaReach),
            std::min(pictureWidth, x + width + kChromaReach),
            std::min(pictureHeight, y + height + kChromaReach)};
}

bool SolidArtPixel(const TRgbaPicture& art, int x, int y) {
    if (x < 1 || y < 1 || x + 1 >= art.Width || y + 1 >= art.Height) return false;
    const auto centre = art.At(x, y);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const auto near = art.At(x + dx, y + dy);
            if (near[3] != 255) return false;
            for (int c = 0; c < 3; ++c)
                if (std::abs(near[c] - centre[c]) > 6) return false;
        }
    return true;
}

TArtComparison CompareDrawnArt(const TRgbaPicture& art, const TRgbaPicture& picture, int x, int y,
                               int tolerance, const TArea& skip) {
    TArtComparison comparison;
    for (int ay = 0; ay < art.Height; ++ay) {
        for (int ax = 0; ax < art.Width; ++ax) {
            const int px = x + ax, py = y + ay;
            if (px < 0 || py < 0 || px >= picture.Width || py >= picture.Height || skip.Contains(px, py) ||
                !SolidArtPixel(art, ax, ay))
                continue;
            ++comparison.Compared;
            const auto expected = art.At(ax, ay), shown = picture.At(px, py);
            for (int c = 0; c < 3; ++c) {
                if (std::abs(expected[c] - shown[c]) <= tolerance || !comparison.FirstMismatch.empty())
                    continue;
                comparison.FirstMismatch = "at " + std::to_string(px) + "," + std::to_string(py) +
                                           " channel " + std::to_string(c) + ": " + std::to_string(shown[c]) +
                                           " instead of " + std::to_string(expected[c]);
            }
        }
    }
    return comparison;
}

int CountColour(const TRgbaPicture& picture, const TArea& area, std::array<int, 3> colour, int tolerance) {
    int count = 0;
    for (int y = std::max(area.Y0, 0); y < std::min(area.Y1, picture.Height); ++y)
        for (int x = std::max(area.X0, 0); x < std::min(area.X1, picture.Width); ++x) {
            const auto shown = picture.At(x, y);
            bool near = true;
            for (int c = 0; c < 3; ++c) near = near && std::abs(shown[c] - colour[c]) <= tolerance;
            count += near ? 1 : 0;
        }
    return count;
}

}  // namespace kestrova::vhooktest
