#include "data/vhook/common/Colour.h"

#include <algorithm>
#include <cmath>

namespace kestrova::vhook {

namespace {

int Clamp(double value, int maximum) {
    return std::clamp(static_cast<int>(std::lround(value)), 0, maximum);
}

}  // namespace

TColourMatrix MatrixForSize(int width, int height) {
    return (width >= 1280 || height >= 720) ? kBt709 : kBt601;
}

double Lightness(TRgb colour, TColourMatrix matrix) {
    const double kg = 1.0 - matrix.Kr - matrix.Kb;
    return matrix.Kr * colour.Red + kg * colour.Green + matrix.Kb * colour.Blue;
}

double LumaSpan(const TPixelLayout& layout) {
    const double scale = static_cast<double>(1 << (layout.Depth - 8));
    return layout.FullRange ? layout.MaxSample() : 219.0 * scale;
}

std::array<int, 3> ColourSamples(TRgb colour, const TPixelLayout& layout, TColourMatrix matrix) {
    if (layout.Kind == TLayoutKind::PackedRgb) return {colour.Red, colour.Green, colour.Blue};

    const double y = Lightness(colour, matrix) / 255.0;
    const double pb = (colour.Blue / 255.0 - y) / (2.0 * (1.0 - matrix.Kb));
    const double pr = (colour.Red / 255.0 - y) / (2.0 * (1.0 - matrix.Kr));
    const int maximum = layout.MaxSample();
    if (layout.FullRange) {
        const double middle = 1 << (layout.Depth - 1);
        return {Clamp(y * maximum, maximum), Clamp(middle + pb * maximum, maximum),
                Clamp(middle + pr * maximum, maximum)};
    }
    const double scale = static_cast<double>(1 << (layout.Depth - 8));
    return {Clamp((16.0 + 219.0 * y) * scale, maximum), Clamp((128.0 + 224.0 * pb) * scale, maximum),
            Clamp((128.0 + 224.0 * pr) * scale, maximum)};
}

}  // namespace kestrova::vhook
