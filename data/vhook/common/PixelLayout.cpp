#include "data/vhook/common/PixelLayout.h"

#include <bit>

namespace kestrova::vhook {

namespace {

// Samples wider than a byte are read in place as 16-bit integers: only the little-endian
// formats are described, and only on a little-endian machine.
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

TPixelLayout Planar(int shiftX, int shiftY, int depth = 8, bool fullRange = false) {
    TPixelLayout layout;
    layout.Kind = TLayoutKind::PlanarYuv;
    layout.Depth = depth;
    layout.SampleBytes = depth > 8 ? 2 : 1;
    layout.ChromaShiftX = shiftX;
    layout.ChromaShiftY = shiftY;
    layout.FullRange = fullRange;
    return layout;
}

TPixelLayout SemiPlanar(bool crFirst) {
    TPixelLayout layout = Planar(1, 1);
    layout.Kind = TLayoutKind::SemiPlanarYuv;
    layout.CrFirst = crFirst;
    return layout;
}

TPixelLayout Gray(int depth) {
    TPixelLayout layout = Planar(0, 0, depth, true);
    layout.Kind = TLayoutKind::Gray;
    return layout;
}

TPixelLayout Packed(int pixelBytes, int red, int green, int blue, int alpha = -1) {
    TPixelLayout layout;
    layout.Kind = TLayoutKind::PackedRgb;
    layout.FullRange = true;
    layout.PixelBytes = pixelBytes;
    layout.RedOffset = red;
    layout.GreenOffset = green;
    layout.BlueOffset = blue;
    layout.AlphaOffset = alpha;
    return layout;
}

std::optional<TPixelLayout> DescribeEightBit(AVPixelFormat format) {
    switch (format) {
        case AV_PIX_FMT_YUV420P:
            return Planar(1, 1);
        case AV_PIX_FMT_YUVJ420P:
            return Planar(1, 1, 8, true);
        case AV_PIX_FMT_YUV422P:
            return Planar(1, 0);
        case AV_PIX_FMT_YUVJ422P:
            return Planar(1, 0, 8, true);
        case AV_PIX_FMT_YUV444P:
            return Planar(0, 0);
        case AV_PIX_FMT_YUVJ444P:
            return Planar(0, 0, 8, true);
        case AV_PIX_FMT_YUV440P:
            return Planar(0, 1);
        case AV_PIX_FMT_YUVJ440P:
            return Planar(0, 1, 8, true);
        case AV_PIX_FMT_YUV411P:
            return Planar(2, 0);
        case AV_PIX_FMT_YUVJ411P:
            return Planar(2, 0, 8, true);
        case AV_PIX_FMT_YUV410P:
            return Planar(2, 2);
        case AV_PIX_FMT_NV12:
            return SemiPlanar(false);
        case AV_PIX_FMT_NV21:
            return SemiPlanar(true);
        case AV_PIX_FMT_GRAY8:
            return Gray(8);
        case AV_PIX_FMT_RGB24:
            return Packed(3, 0, 1, 2);
        case AV_PIX_FMT_BGR24:
            return Packed(3, 2, 1, 0);
        case AV_PIX_FMT_RGBA:
            return Packed(4, 0, 1, 2, 3);
        case AV_PIX_FMT_BGRA:
            return Packed(4, 2, 1, 0, 3);
        case AV_PIX_FMT_ARGB:
            return Packed(4, 1, 2, 3, 0);
        case AV_PIX_FMT_ABGR:
            return Packed(4, 3, 2, 1, 0);
        case AV_PIX_FMT_RGB0:
            return Packed(4, 0, 1, 2);
        case AV_PIX_FMT_BGR0:
            return Packed(4, 2, 1, 0);
        case AV_PIX_FMT_0RGB:
            return Packed(4, 1, 2, 3);
        case AV_PIX_FMT_0BGR:
            return Packed(4, 3, 2, 1);
        default:
            return std::nullopt;
    }
}

std::optional<TPixelLayout> DescribeDeep(AVPixelFormat format) {
    switch (format) {
        case AV_PIX_FMT_YUV420P9LE:
            return Planar(1, 1, 9);
        case AV_PIX_FMT_YUV420P10LE:
            return Planar(1, 1, 10);
        case AV_PIX_FMT_YUV420P12LE:
            return Planar(1, 1, 12);
        case AV_PIX_FMT_YUV420P14LE:
            return Planar(1, 1, 14);
        case AV_PIX_FMT_YUV420P16LE:
            return Planar(1, 1, 16);
        case AV_PIX_FMT_YUV422P9LE:
            return Planar(1, 0, 9);
        case AV_PIX_FMT_YUV422P10LE:
            return Planar(1, 0, 10);
        case AV_PIX_FMT_YUV422P12LE:
            return Planar(1, 0, 12);
        case AV_PIX_FMT_YUV422P14LE:
            return Planar(1, 0, 14);
        case AV_PIX_FMT_YUV422P16LE:
            return Planar(1, 0, 16);
        case AV_PIX_FMT_YUV444P9LE:
            return Planar(0, 0, 9);
        case AV_PIX_FMT_YUV444P10LE:
            return Planar(0, 0, 10);
        case AV_PIX_FMT_YUV444P12LE:
            return Planar(0, 0, 12);
        case AV_PIX_FMT_YUV444P14LE:
            return Planar(0, 0, 14);
        case AV_PIX_FMT_YUV444P16LE:
            return Planar(0, 0, 16);
        case AV_PIX_FMT_YUV440P10LE:
            return Planar(0, 1, 10);
        case AV_PIX_FMT_YUV440P12LE:
            return Planar(0, 1, 12);
        case AV_PIX_FMT_GRAY9LE:
            return Gray(9);
        case AV_PIX_FMT_GRAY10LE:
            return Gray(10);
        case AV_PIX_FMT_GRAY12LE:
            return Gray(12);
        case AV_PIX_FMT_GRAY14LE:
            return Gray(14);
        case AV_PIX_FMT_GRAY16LE:
            return Gray(16);
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<TPixelLayout> DescribePixelFormat(AVPixelFormat format) {
    if (auto layout = DescribeEightBit(format)) return layout;
    if (kLittleEndian) return DescribeDeep(format);
    return std::nullopt;
}

}  // namespace kestrova::vhook
