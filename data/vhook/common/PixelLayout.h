#pragma once
// How the samples of a picture lie in its planes, for the pixel formats the modules draw on.
// Formats not described here are left untouched by every module.
#include <libavutil/pixfmt.h>

#include <optional>

namespace kestrova::vhook {

enum class TLayoutKind {
    PlanarYuv,      // Y, Cb, Cr in planes 0, 1, 2; chroma subsampled by the two shifts
    SemiPlanarYuv,  // Y in plane 0, Cb and Cr interleaved in plane 1 (NV12; NV21 swapped)
    Gray,           // luma only
    PackedRgb,      // one plane of pixels with the channels at fixed byte offsets
};

struct TPixelLayout {
    TLayoutKind Kind = TLayoutKind::PlanarYuv;
    int Depth = 8;           // significant bits of a sample
    int SampleBytes = 1;     // 1, or 2 for little-endian 9- to 16-bit samples
    int ChromaShiftX = 0;    // log2 of the horizontal chroma subsampling
    int ChromaShiftY = 0;    // log2 of the vertical chroma subsampling
    bool FullRange = false;  // the "J" formats: luma and chroma over the whole sample range
    bool CrFirst = false;    // semi-planar with Cr before Cb (NV21)
    // Packed RGB only.
    int PixelBytes = 0;
    int RedOffset = 0, GreenOffset = 0, BlueOffset = 0;
    int AlphaOffset = -1;  // -1: no alpha channel (or an unused byte)

    bool IsYuv() const { return Kind == TLayoutKind::PlanarYuv || Kind == TLayoutKind::SemiPlanarYuv; }
    int MaxSample() const { return (1 << Depth) - 1; }

    friend bool operator==(const TPixelLayout&, const TPixelLayout&) = default;
};

// The layout of a pixel format, or nothing for a format the modules leave alone.
std::optional<TPixelLayout> DescribePixelFormat(AVPixelFormat format);

}  // namespace kestrova::vhook
