#include "engine/core/audio/AudioVolume.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace kestrova {

namespace {

template <class T>
T ScaleInteger(T sample, int volume, int64_t offset) {
    const int64_t centred = static_cast<int64_t>(sample) - offset;
    // An arithmetic shift: rounds toward minus infinity, as the 16-bit rule does.
    const int64_t scaled = ((centred * volume + 128) >> 8) + offset;
    return static_cast<T>(
            std::clamp<int64_t>(scaled, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

template <class T>
void ScalePlane(uint8_t* data, int count, int volume) {
    auto* samples = reinterpret_cast<T*>(data);
    if constexpr (std::is_floating_point_v<T>) {
        const T factor = static_cast<T>(volume) / 256;
        for (int i = 0; i < count; ++i) samples[i] *= factor;
    } else {
        const int64_t offset = std::is_same_v<T, uint8_t> ? 128 : 0;
        for (int i = 0; i < count; ++i) samples[i] = ScaleInteger(samples[i], volume, offset);
    }
}

template <class T>
void ScaleFrame(AVFrame& frame, int planes, int perPlane, int volume) {
    for (int plane = 0; plane < planes; ++plane) ScalePlane<T>(frame.extended_data[plane], perPlane, volume);
}

}  // namespace

int16_t ScaledSample(int16_t sample, int volume) {
    return ScaleInteger<int16_t>(sample, volume, 0);
}

void ApplyVolume(AVFrame& frame, int volume) {
    if (volume == 256) return;
    const auto format = static_cast<AVSampleFormat>(frame.format);
    const int channels = frame.ch_layout.nb_channels;
    const bool planar = ff::av_sample_fmt_is_planar(format) != 0;
    const int planes = planar ? channels : 1;
    const int perPlane = planar ? frame.nb_samples : frame.nb_samples * channels;
    switch (ff::av_get_packed_sample_fmt(format)) {
        case AV_SAMPLE_FMT_U8:
            ScaleFrame<uint8_t>(frame, planes, perPlane, volume);
            break;
        case AV_SAMPLE_FMT_S16:
            ScaleFrame<int16_t>(frame, planes, perPlane, volume);
            break;
        case AV_SAMPLE_FMT_S32:
            ScaleFrame<int32_t>(frame, planes, perPlane, volume);
            break;
        case AV_SAMPLE_FMT_FLT:
            ScaleFrame<float>(frame, planes, perPlane, volume);
            break;
        case AV_SAMPLE_FMT_DBL:
            ScaleFrame<double>(frame, planes, perPlane, volume);
            break;
        default:
            break;
    }
}

}  // namespace kestrova
