#include "data/vhook/common/PictureDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kestrova::vhook {

namespace {

// The part of the picture the overlay covers, in picture coordinates.
struct TArea {
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    bool Empty() const { return X0 >= X1 || Y0 >= Y1; }
};

TArea Covered(int width, int height, const TOverlay& overlay, int x, int y) {
    const int64_t right = static_cast<int64_t>(x) + overlay.Width();
    const int64_t bottom = static_cast<int64_t>(y) + overlay.Height();
    return {std::max(x, 0), std::max(y, 0), static_cast<int>(std::min<int64_t>(right, width)),
            static_cast<int>(std::min<int64_t>(bottom, height))};
}

template <class TSample>
TSample* SampleRow(const THookPicture& picture, int plane, int row) {
    return reinterpret_cast<TSample*>(picture.Data[plane] +
                                      static_cast<ptrdiff_t>(row) * picture.Linesize[plane]);
}

int Over(int under, int over, int alpha) {
    return (under * (255 - alpha) + over * alpha + 127) / 255;
}

int Shifted(int under, int offset, int alpha, int maximum) {
    const int scaled = offset * alpha;
    const int shift = (scaled >= 0 ? scaled + 127 : scaled - 127) / 255;
    return std::clamp(under + shift, 0, maximum);
}

// One sample per pixel of the covered area: luma, gray, or 4:4:4 chroma component `c`.
template <class TSample>
void DrawFullPlane(const THookPicture& picture, int plane, int component, const TOverlay& overlay, int x,
                   int y, const TArea& area) {
    const int maximum = overlay.Layout().MaxSample();
    const bool shift = overlay.Mode() == TBlendMode::LumaShift;
    for (int row = area.Y0; row < area.Y1; ++row) {
        TSample* out = SampleRow<TSample>(picture, plane, row);
        const TOverlaySample* in = overlay.Row(row - y) + (area.X0 - x);
        for (int column = area.X0; column < area.X1; ++column, ++in) {
            if (in->Alpha == 0) continue;
            const int value = shift ? Shifted(out[column], in->C[0], in->Alpha, maximum)
                                    : Over(out[column], in->C[component], in->Alpha);
            out[column] = static_cast<TSample>(value);
        }
    }
}

// The overlay's weight and weighted chroma over the pixels one chroma sample stands for.
struct TChromaSum {
    int64_t Alpha = 0, Cb = 0, Cr = 0;
    int64_t Pixels = 0;  // pixels of the block inside the picture
};

TChromaSum SumBlock(const TOverlay& overlay, int x, int y, int blockX0, int blockY0, int blockX1,
                    int blockY1) {
    TChromaSum sum;
    sum.Pixels = static_cast<int64_t>(blockX1 - blockX0) * (blockY1 - blockY0);
    const int fromX = std::max(blockX0, x),
              toX = std::min<int64_t>(blockX1, static_cast<int64_t>(x) + overlay.Width());
    const int fromY = std::max(blockY0, y),
              toY = std::min<int64_t>(blockY1, static_cast<int64_t>(y) + overlay.Height());
    for (int row = fromY; row < toY; ++row) {
        const TOverlaySample* in = overlay.Row(row - y) + (fromX - x);
        for (int column = fromX; column < toX; ++column, ++in) {
            sum.Alpha += in->Alpha;
            sum.Cb += static_cast<int64_t>(in->Alpha) * in->C[1];
            sum.Cr += static_cast<int64_t>(in->Alpha) * in->C[2];
        }
    }
    return sum;
}

template <class TSample>
void BlendChroma(TSample& sample, int64_t weighted, const TChromaSum& sum) {
    const int64_t total = 255 * sum.Pixels;
    sample = static_cast<TSample>((sample * (total - sum.Alpha) + weighted + total / 2) / total);
}

// Subsampled chroma: each chroma sample takes the overlay's alpha-weighted mean over the block of
// pixels it stands for, so edges and odd positions blend smoothly instead of jumping by blocks.
template <class TSample>
void DrawChroma(const THookPicture& picture, int width, int height, const TOverlay& overlay, int x, int y,
                const TArea& area) {
    const TPixelLayout& layout = overlay.Layout();
    const int shiftX = layout.ChromaShiftX, shiftY = layout.ChromaShiftY;
    const bool interleaved = layout.Kind == TLayoutKind::SemiPlanarYuv;
    const int firstX = area.X0 >> shiftX, lastX = (area.X1 - 1) >> shiftX;
    const int firstY = area.Y0 >> shiftY, lastY = (area.Y1 - 1) >> shiftY;
    for (int chromaY = firstY; chromaY <= lastY; ++chromaY) {
        const int blockY0 = chromaY << shiftY, blockY1 = std::min((chromaY + 1) << shiftY, height);
        TSample* cbRow = SampleRow<TSample>(picture, 1, chromaY);
        TSample* crRow = interleaved ? cbRow : SampleRow<TSample>(picture, 2, chromaY);
        for (int chromaX = firstX; chromaX <= lastX; ++chromaX) {
            const int blockX0 = chromaX << shiftX, blockX1 = std::min((chromaX + 1) << shiftX, width);
            const TChromaSum sum = SumBlock(overlay, x, y, blockX0, blockY0, blockX1, blockY1);
            if (sum.Alpha == 0) continue;
            TSample* cb = interleaved ? cbRow + 2 * chromaX + (layout.CrFirst ? 1 : 0) : cbRow + chromaX;
            TSample* cr = interleaved ? cbRow + 2 * chromaX + (layout.CrFirst ? 0 : 1) : crRow + chromaX;
            BlendChroma(*cb, sum.Cb, sum);
            BlendChroma(*cr, sum.Cr, sum);
        }
    }
}

void DrawPackedRgb(const THookPicture& picture, const TOverlay& overlay, int x, int y, const TArea& area) {
    const TPixelLayout& layout = overlay.Layout();
    const int offsets[3] = {layout.RedOffset, layout.GreenOffset, layout.BlueOffset};
    const bool shift = overlay.Mode() == TBlendMode::LumaShift;
    for (int row = area.Y0; row < area.Y1; ++row) {
        uint8_t* out =
                SampleRow<uint8_t>(picture, 0, row) + static_cast<ptrdiff_t>(area.X0) * layout.PixelBytes;
        const TOverlaySample* in = overlay.Row(row - y) + (area.X0 - x);
        for (int column = area.X0; column < area.X1; ++column, ++in, out += layout.PixelBytes) {
            if (in->Alpha == 0) continue;
            for (int c = 0; c < 3; ++c) {
                uint8_t& sample = out[offsets[c]];
                sample = static_cast<uint8_t>(shift ? Shifted(sample, in->C[0], in->Alpha, 255)
                                                    : Over(sample, in->C[c], in->Alpha));
            }
            if (layout.AlphaOffset >= 0 && !shift) {
                uint8_t& alpha = out[layout.AlphaOffset];
                alpha = static_cast<uint8_t>(in->Alpha + (alpha * (255 - in->Alpha) + 127) / 255);
            }
        }
    }
}

// Whether the planes the layout uses are present and wide enough for the picture's width.
bool PlanesHoldPicture(const THookPicture& picture, const TPixelLayout& layout, int width) {
    auto holds = [&picture](int plane, int64_t bytes) {
        return picture.Data[plane] != nullptr &&
               std::abs(static_cast<int64_t>(picture.Linesize[plane])) >= bytes;
    };
    const int64_t chromaWidth = ((static_cast<int64_t>(width) - 1) >> layout.ChromaShiftX) + 1;
    switch (layout.Kind) {
        case TLayoutKind::PackedRgb:
            return holds(0, static_cast<int64_t>(width) * layout.PixelBytes);
        case TLayoutKind::Gray:
            return holds(0, static_cast<int64_t>(width) * layout.SampleBytes);
        case TLayoutKind::SemiPlanarYuv:
            return holds(0, width) && holds(1, 2 * chromaWidth * layout.SampleBytes);
        case TLayoutKind::PlanarYuv:
            return holds(0, static_cast<int64_t>(width) * layout.SampleBytes) &&
                   holds(1, chromaWidth * layout.SampleBytes) && holds(2, chromaWidth * layout.SampleBytes);
    }
    return false;
}

template <class TSample>
void DrawYuvOrGray(THookPicture& picture, int width, int height, const TOverlay& overlay, int x, int y,
                   const TArea& area) {
    const TPixelLayout& layout = overlay.Layout();
    DrawFullPlane<TSample>(picture, 0, 0, overlay, x, y, area);
    if (layout.Kind == TLayoutKind::Gray || overlay.Mode() == TBlendMode::LumaShift) return;
    if (layout.Kind == TLayoutKind::PlanarYuv && layout.ChromaShiftX == 0 && layout.ChromaShiftY == 0) {
        DrawFullPlane<TSample>(picture, 1, 1, overlay, x, y, area);
        DrawFullPlane<TSample>(picture, 2, 2, overlay, x, y, area);
        return;
    }
    DrawChroma<TSample>(picture, width, height, overlay, x, y, area);
}

}  // namespace

void DrawOverlay(THookPicture& picture, int width, int height, const TOverlay& overlay, int x, int y) {
    if (width <= 0 || height <= 0 || overlay.Width() <= 0 || overlay.Height() <= 0) return;
    const TArea area = Covered(width, height, overlay, x, y);
    if (area.Empty()) return;
    const TPixelLayout& layout = overlay.Layout();
    if (!PlanesHoldPicture(picture, layout, width)) return;
    if (layout.Kind == TLayoutKind::PackedRgb)
        DrawPackedRgb(picture, overlay, x, y, area);
    else if (layout.SampleBytes == 2)
        DrawYuvOrGray<uint16_t>(picture, width, height, overlay, x, y, area);
    else
        DrawYuvOrGray<uint8_t>(picture, width, height, overlay, x, y, area);
}

bool ToPixelPosition(double value, int& position) {
    if (!std::isfinite(value)) return false;
    // Far outside any picture: clamped so that position plus overlay size cannot overflow.
    constexpr double kLimit = 1 << 28;
    position = static_cast<int>(std::floor(std::clamp(value, -kLimit, kLimit) + 0.5));
    return true;
}

}  // namespace kestrova::vhook
