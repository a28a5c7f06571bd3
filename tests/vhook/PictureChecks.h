#pragma once
// What the hook tests look for in decoded pictures.
#include "DecodedVideo.h"

#include <array>
#include <string>

namespace kestrova::vhooktest {

// Chroma blocks reach up to three pixels past the last pixel of an overlay they stand for.
inline constexpr int kChromaReach = 3;

// At 16 points the modules' text has glyphs at most 20 pixels wide and lines, with their
// shadow, at most 36 pixels high.
inline constexpr int kGlyphWidth = 20;
inline constexpr int kLineReach = 36;

// The rectangle an overlay of the given size at (x, y) may change, clipped to the picture.
TArea OverlayReach(int x, int y, int width, int height, int pictureWidth, int pictureHeight);

// Art pixels whose 3x3 neighbourhood is opaque and of nearly one colour: there neither the
// picture's edge nor chroma subsampling blurs what the frame must show.
bool SolidArtPixel(const TRgbaPicture& art, int x, int y);

// Compares the solid pixels of `art` drawn at (x, y) with the picture, except those in `skip`
// (something else drawn over them); the number compared and a description of the first one off
// by more than `tolerance` in a channel (empty when none).
struct TArtComparison {
    int Compared = 0;
    std::string FirstMismatch;
};
TArtComparison CompareDrawnArt(const TRgbaPicture& art, const TRgbaPicture& picture, int x, int y,
                               int tolerance, const TArea& skip = {});

// Pixels within `tolerance` of `colour` in every channel, inside `area`.
int CountColour(const TRgbaPicture& picture, const TArea& area, std::array<int, 3> colour, int tolerance);

}  // namespace kestrova::vhooktest
