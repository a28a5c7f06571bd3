#include "engine/core/options/RateControlOverride.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/OptionValues.h"
#include "engine/frame/LibBindings.h"
#include "engine/frame/Text.h"

#include <climits>
#include <cstring>
#include <sstream>

namespace kestrova {

namespace {

RcOverride ParseItem(const std::string& item) {
    std::istringstream fields(item);
    std::string field;
    int64_t values[3] = {};
    int count = 0;
    while (std::getline(fields, field, ',')) {
        if (count == 3 || !TryParseInteger(field, values[count]) || values[count] < INT_MIN ||
            values[count] > INT_MAX)
            throw FFmpegException("error parsing rc_override");
        ++count;
    }
    if (count != 3) throw FFmpegException("error parsing rc_override");
    RcOverride entry{};
    entry.start_frame = static_cast<int>(values[0]);
    entry.end_frame = static_cast<int>(values[1]);
    const int q = static_cast<int>(values[2]);
    if (q > 0) {
        entry.qscale = q;
        entry.quality_factor = 1.0f;
    } else {
        entry.qscale = 0;
        entry.quality_factor = -static_cast<float>(q) / 100.0f;
    }
    return entry;
}

}  // namespace

std::vector<RcOverride> ParseRateControlOverride(const std::string& text) {
    std::vector<RcOverride> items;
    if (Trimmed(text).empty()) return items;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = text.find('/', start);
        items.push_back(ParseItem(text.substr(start, slash - start)));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return items;
}

void AttachRateControlOverride(AVCodecContext& codec, const std::vector<RcOverride>& items) {
    ff::av_freep(&codec.rc_override);
    codec.rc_override_count = 0;
    if (items.empty()) return;
    const std::size_t bytes = items.size() * sizeof(RcOverride);
    auto* block = static_cast<RcOverride*>(ff::av_malloc(bytes));
    if (!block) throw FFmpegException("Could not allocate rc_override");
    std::memcpy(block, items.data(), bytes);
    codec.rc_override = block;
    codec.rc_override_count = static_cast<int>(items.size());
}

}  // namespace kestrova
