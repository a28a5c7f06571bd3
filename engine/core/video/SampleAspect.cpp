#include "engine/core/video/SampleAspect.h"

#include "engine/frame/LibBindings.h"

#include <algorithm>
#include <cmath>

namespace kestrova {

namespace {
constexpr int kMaxAspectTerm = 255;
}

AVRational AspectFraction(double x) {
    if (!std::isfinite(x) || x == 0) return AVRational{0, 1};
    // Scale to a 64-bit fraction with as many bits below the point as the magnitude allows,
    // then let the library find the nearest fraction with small terms.
    const int exponent = std::max(0, static_cast<int>(std::lround(std::log2(std::fabs(x) + 1e-20))));
    if (exponent > 61) return AVRational{x < 0 ? -kMaxAspectTerm : kMaxAspectTerm, 1};
    const int64_t denominator = int64_t{1} << (61 - exponent);
    const auto numerator = static_cast<int64_t>(std::floor(x * static_cast<double>(denominator) + 0.5));
    AVRational result{0, 1};
    ff::av_reduce(&result.num, &result.den, numerator, denominator, kMaxAspectTerm);
    return result;
}

AVRational SampleAspectRatio(double frameAspect, int width, int height) {
    if (frameAspect <= 0) return AVRational{0, 1};
    const double ratio = width > 0 && height > 0 ? frameAspect * height / width : frameAspect * 3 / 4;
    return AspectFraction(ratio);
}

}  // namespace kestrova
