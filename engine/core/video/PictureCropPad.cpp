#include "engine/core/video/PictureCropPad.h"

#include "engine/core/video/PixelFormats.h"
#include "engine/frame/LibBindings.h"

#include <cstring>

namespace kestrova {

namespace {

void FillRect(uint8_t* plane, int linesize, int x, int y, int width, int height, uint8_t value) {
    if (width <= 0 || height <= 0) return;
    for (int row = 0; row < height; ++row)
        std::memset(plane + static_cast<ptrdiff_t>(y + row) * linesize + x, value,
                    static_cast<size_t>(width));
}

}  // namespace

bool CropPlanes(uint8_t* data[4], const int linesize[4], AVPixelFormat format, int top, int left) {
    const AVPixFmtDescriptor* desc = ff::av_pix_fmt_desc_get(format);
    if (!desc || (desc->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM))) return false;
    const int xMask = (1 << desc->log2_chroma_w) - 1;
    const int yMask = (1 << desc->log2_chroma_h) - 1;
    if ((left & xMask) || (top & yMask)) return false;
    // Bytes per pixel of each plane, from the components that live in it.
    int step[4] = {0, 0, 0, 0};
    for (int c = 0; c < desc->nb_components; ++c) step[desc->comp[c].plane] = desc->comp[c].step;
    for (int plane = 0; plane < 4 && data[plane]; ++plane) {
        if (desc->flags & AV_PIX_FMT_FLAG_PAL && plane == 1) break;  // the palette stays
        const bool chroma = plane == 1 || plane == 2;
        const int x = chroma ? left >> desc->log2_chroma_w : left;
        const int y = chroma ? top >> desc->log2_chroma_h : top;
        data[plane] += static_cast<ptrdiff_t>(y) * linesize[plane] + static_cast<ptrdiff_t>(x) * step[plane];
    }
    return true;
}

bool PadBorders(AVFrame& picture, const TPictureBands& pads, const TYuvColour& colour) {
    const AVPixFmtDescriptor* desc = ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
    if (!desc || !IsPlanarYuv8(*desc)) return false;
    for (int plane = 0; plane < desc->nb_components && plane < 3; ++plane) {
        const bool chroma = plane == 1 || plane == 2;
        const int sx = chroma ? desc->log2_chroma_w : 0;
        const int sy = chroma ? desc->log2_chroma_h : 0;
        const int width = -((-picture.width) >> sx);  // rounded up, as the planes are laid out
        const int height = -((-picture.height) >> sy);
        const int top = pads.Top >> sy, bottom = pads.Bottom >> sy;
        const int left = pads.Left >> sx, right = pads.Right >> sx;
        const auto value = static_cast<uint8_t>(colour[static_cast<size_t>(plane)]);
        uint8_t* data = picture.data[plane];
        const int stride = picture.linesize[plane];
        FillRect(data, stride, 0, 0, width, top, value);
        FillRect(data, stride, 0, height - bottom, width, bottom, value);
        FillRect(data, stride, 0, top, left, height - top - bottom, value);
        FillRect(data, stride, width - right, top, right, height - top - bottom, value);
    }
    return true;
}

}  // namespace kestrova
