#pragma once
// Signed-distance shapes and paints for the art canvas.
#include "data/vhook/art/ArtCanvas.h"

#include <utility>
#include <vector>

namespace kestrova::vhook::art {

struct TPoint {
    float X = 0, Y = 0;
};

TShape Circle(float centreX, float centreY, float radius);
// A box of the given half sizes with rounded corners.
TShape RoundedBox(float centreX, float centreY, float halfWidth, float halfHeight, float radius);
// A line with round ends, `radius` thick on each side.
TShape Capsule(TPoint from, TPoint to, float radius);
TShape Polygon(std::vector<TPoint> points);
// Grows the shape by `amount` pixels (negative shrinks), rounding its corners.
TShape Grown(TShape shape, float amount);
TShape Union(TShape first, TShape second);
TShape Intersection(TShape first, TShape second);
TShape Difference(TShape shape, TShape cut);
// The band of the shape's edge, `width` pixels wide, just inside it.
TShape Outline(TShape shape, float width);

TPaint Solid(TColour colour);
// Blends from `from` at the first point to `to` at the second, along the line between them.
TPaint LinearGradient(TPoint start, TColour from, TPoint end, TColour to);
TPaint RadialGradient(TPoint centre, float radius, TColour inner, TColour outer);

}  // namespace kestrova::vhook::art
