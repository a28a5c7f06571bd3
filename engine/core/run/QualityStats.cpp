#include "engine/core/run/QualityStats.h"

#include "engine/frame/Text.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>

namespace kestrova {

namespace {

constexpr int kQuantisers = 52;
std::array<std::atomic<int64_t>, kQuantisers> QuantiserCounts{};

uint32_t ReadLittle32(const uint8_t* bytes) {
    return bytes[0] | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24);
}

uint64_t ReadLittle64(const uint8_t* bytes) {
    return ReadLittle32(bytes) | (uint64_t{ReadLittle32(bytes + 4)} << 32);
}

}  // namespace

void TakeQualityStats(TEncoderState& encoder, const AVPacket& packet) {
    size_t size = 0;
    const uint8_t* stats = ff::av_packet_get_side_data(&packet, AV_PKT_DATA_QUALITY_STATS, &size);
    // Layout: quality (32 bits), picture type, error count, two reserved bytes, then the errors.
    if (!stats || size < 8) return;
    encoder.CodedQuality = static_cast<int>(ReadLittle32(stats));
    encoder.CodedPictureType = stats[4];
    const size_t errors = std::min<size_t>({stats[5], 4, (size - 8) / 8});
    for (size_t i = 0; i < errors; ++i)
        encoder.CodedError[i] = static_cast<int64_t>(ReadLittle64(stats + 8 + 8 * i));
}

void CountQuantiser(int quantiser) {
    if (quantiser >= 0 && quantiser < kQuantisers) ++QuantiserCounts[quantiser];
}

std::string QuantiserHistogramText() {
    std::string text;
    for (int i = 0; i < 32; ++i)
        text += FormatText("%X", static_cast<unsigned>(std::lround(
                                         std::log2(static_cast<double>(QuantiserCounts[i].load() + 1)))));
    return text;
}

}  // namespace kestrova
