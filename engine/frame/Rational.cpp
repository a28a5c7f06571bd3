#include "engine/frame/Rational.h"

#include "engine/frame/LibBindings.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace kestrova {

AVRational DoubleToRational(double value, int limit) {
    if (std::isnan(value)) return AVRational{0, 0};
    if (std::fabs(value) > static_cast<double>(INT_MAX) + 3.0) return AVRational{value < 0 ? -1 : 1, 0};

    // Scale the value to about 61 significant bits, then let av_reduce find the best fraction
    // within the limit.
    long exponent = std::lround(std::log2(std::fabs(value) + 1e-20));
    if (exponent < 0) exponent = 0;
    const int64_t den = int64_t{1} << (61 - exponent);
    const auto num = static_cast<int64_t>(std::floor(value * static_cast<double>(den) + 0.5));
    AVRational result{0, 1};
    ff::av_reduce(&result.num, &result.den, num, den, limit);
    return result;
}

}  // namespace kestrova
