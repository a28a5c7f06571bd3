#include "engine/core/video/Deinterlace.h"

#include "engine/core/video/PixelFormats.h"
#include "engine/frame/LibBindings.h"

#include <algorithm>
#include <cstring>

namespace kestrova {

namespace {

void DeinterlacePlane(const uint8_t* src, int srcStride, uint8_t* dst, int dstStride, int width, int height) {
    // Lines outside the picture repeat the nearest line of the same field parity.
    auto line = [&](int y) {
        if (y < 0) y = (y & 1) ? std::min(1, height - 1) : 0;
        if (y >= height) y = ((y - height) & 1) ? height - 1 : std::max(height - 2, 0);
        return src + static_cast<ptrdiff_t>(y) * srcStride;
    };
    for (int y = 0; y < height; ++y) {
        uint8_t* out = dst + static_cast<ptrdiff_t>(y) * dstStride;
        if ((y & 1) == 0) {
            std::memcpy(out, line(y), static_cast<size_t>(width));
            continue;
        }
        const uint8_t* m2 = line(y - 2);
        const uint8_t* m1 = line(y - 1);
        const uint8_t* c0 = line(y);
        const uint8_t* p1 = line(y + 1);
        const uint8_t* p2 = line(y + 2);
        for (int x = 0; x < width; ++x) {
            const int value = (-m2[x] + 4 * m1[x] + 2 * c0[x] + 4 * p1[x] - p2[x] + 4) >> 3;
            out[x] = static_cast<uint8_t>(std::clamp(value, 0, 255));
        }
    }
}

}  // namespace

bool DeinterlacePicture(const AVFrame& source, AVFrame& target) {
    const AVPixFmtDescriptor* desc = ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(source.format));
    if (!desc || !IsPlanarYuv8(*desc)) return false;
    if (target.format != source.format || target.width != source.width || target.height != source.height)
        return false;
    for (int plane = 0; plane < desc->nb_components && plane < 4; ++plane) {
        const bool chroma = plane == 1 || plane == 2;
        const int width = chroma ? -((-source.width) >> desc->log2_chroma_w) : source.width;
        const int height = chroma ? -((-source.height) >> desc->log2_chroma_h) : source.height;
        DeinterlacePlane(source.data[plane], source.linesize[plane], target.data[plane],
                         target.linesize[plane], width, height);
    }
    return true;
}

}  // namespace kestrova
