#include "data/vhook/art/Shapes.h"

#include <algorithm>
#include <cmath>

namespace kestrova::vhook::art {

namespace {

TColour Mix(const TColour& from, const TColour& to, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {from.Red + (to.Red - from.Red) * t, from.Green + (to.Green - from.Green) * t,
            from.Blue + (to.Blue - from.Blue) * t, from.Alpha + (to.Alpha - from.Alpha) * t};
}

float SegmentDistance(float px, float py, TPoint a, TPoint b) {
    const float abx = b.X - a.X, aby = b.Y - a.Y;
    const float apx = px - a.X, apy = py - a.Y;
    const float length = abx * abx + aby * aby;
    const float t = length > 0 ? std::clamp((apx * abx + apy * aby) / length, 0.0f, 1.0f) : 0.0f;
    return std::hypot(apx - abx * t, apy - aby * t);
}

}  // namespace

TShape Circle(float centreX, float centreY, float radius) {
    return [=](float x, float y) { return std::hypot(x - centreX, y - centreY) - radius; };
}

TShape RoundedBox(float centreX, float centreY, float halfWidth, float halfHeight, float radius) {
    return [=](float x, float y) {
        const float qx = std::fabs(x - centreX) - halfWidth + radius;
        const float qy = std::fabs(y - centreY) - halfHeight + radius;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

TShape Capsule(TPoint from, TPoint to, float radius) {
    return [=](float x, float y) { return SegmentDistance(x, y, from, to) - radius; };
}

TShape Polygon(std::vector<TPoint> points) {
    return [points = std::move(points)](float x, float y) {
        float nearest = 1e9f;
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const TPoint a = points[j], b = points[i];
            nearest = std::min(nearest, SegmentDistance(x, y, a, b));
            if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
        }
        return inside ? -nearest : nearest;
    };
}

TShape Grown(TShape shape, float amount) {
    return [shape = std::move(shape), amount](float x, float y) { return shape(x, y) - amount; };
}

TShape Union(TShape first, TShape second) {
    return [first = std::move(first), second = std::move(second)](float x, float y) {
        return std::min(first(x, y), second(x, y));
    };
}

TShape Intersection(TShape first, TShape second) {
    return [first = std::move(first), second = std::move(second)](float x, float y) {
        return std::max(first(x, y), second(x, y));
    };
}

TShape Difference(TShape shape, TShape cut) {
    return [shape = std::move(shape), cut = std::move(cut)](float x, float y) {
        return std::max(shape(x, y), -cut(x, y));
    };
}

TShape Outline(TShape shape, float width) {
    return [shape = std::move(shape), width](float x, float y) {
        const float distance = shape(x, y);
        return std::max(distance, -(distance + width));
    };
}

TPaint Solid(TColour colour) {
    return [colour](float, float) { return colour; };
}

TPaint LinearGradient(TPoint start, TColour from, TPoint end, TColour to) {
    const float dx = end.X - start.X, dy = end.Y - start.Y;
    const float length = dx * dx + dy * dy;
    return [=](float x, float y) {
        const float t = length > 0 ? ((x - start.X) * dx + (y - start.Y) * dy) / length : 0.0f;
        return Mix(from, to, t);
    };
}

TPaint RadialGradient(TPoint centre, float radius, TColour inner, TColour outer) {
    return [=](float x, float y) {
        return Mix(inner, outer, std::hypot(x - centre.X, y - centre.Y) / radius);
    };
}

}  // namespace kestrova::vhook::art
