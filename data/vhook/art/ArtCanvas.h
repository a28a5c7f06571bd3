#pragma once
// A small vector canvas for the modules' pictures: shapes given by their signed distance (in
// pixels, negative inside) are filled with anti-aliased edges, soft shadows and gradients, and
// composited in premultiplied colour.
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrova::vhook::art {

struct TColour {
    float Red = 0, Green = 0, Blue = 0, Alpha = 1;  // 0..1, straight alpha
};

// An 8-bit colour, as the pictures are designed.
TColour Rgb(int red, int green, int blue, float alpha = 1);

using TShape = std::function<float(float x, float y)>;
using TPaint = std::function<TColour(float x, float y)>;

class TArtCanvas {
public:
    TArtCanvas(int width, int height);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Paints the inside of the shape; the edge is covered by how far the pixel centre lies
    // inside, which gives a one-pixel anti-aliased edge.
    void Fill(const TShape& shape, const TPaint& paint, float opacity = 1);
    // A blurred dark copy of the shape moved by (dx, dy): its edge fades over `softness` pixels.
    void Shadow(const TShape& shape, float dx, float dy, float softness, float opacity);

    // Red, green, blue, alpha bytes (straight alpha), rows from the top.
    std::vector<uint8_t> ToRgba() const;

private:
    struct TPremultiplied {
        float Red = 0, Green = 0, Blue = 0, Alpha = 0;
    };
    void Composite(int x, int y, const TColour& colour, float coverage);

    int FWidth, FHeight;
    std::vector<TPremultiplied> FPixels;
};

}  // namespace kestrova::vhook::art
