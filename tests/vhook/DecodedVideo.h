#pragma once
// The pictures of a file as the media libraries decode them, and what tests read from them.
extern "C" {
#include <libavutil/frame.h>
}

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kestrova::vhooktest {

struct TFrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using TFramePtr = std::unique_ptr<AVFrame, TFrameFree>;

// Every picture of the first video stream (a picture file gives one); empty when the file cannot
// be opened or decoded.
std::vector<TFramePtr> DecodeVideo(const std::string& path);

// A rectangle of pixels, right and bottom edges excluded.
struct TArea {
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    bool Empty() const { return X0 >= X1 || Y0 >= Y1; }
    bool Within(const TArea& outer) const {
        return Empty() || (X0 >= outer.X0 && Y0 >= outer.Y0 && X1 <= outer.X1 && Y1 <= outer.Y1);
    }
    bool Contains(int x, int y) const { return x >= X0 && x < X1 && y >= Y0 && y < Y1; }
};

// The pixels whose samples differ between two pictures of one size and format, over every
// plane (a chroma sample counts for all the pixels it stands for).
TArea ChangedArea(const AVFrame& before, const AVFrame& after);

// Whether every chroma sample of two YUV pictures is the same.
bool SameChroma(const AVFrame& before, const AVFrame& after);

// A pixel as 8-bit red, green, blue and alpha (255 for formats without alpha): YUV samples are
// converted with the BT.601 matrix from the chroma sample the pixel lies in.
std::array<int, 4> PixelRgba(const AVFrame& frame, int x, int y);

// A whole picture as PixelRgba gives it.
struct TRgbaPicture {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;
    std::array<int, 4> At(int x, int y) const {
        const uint8_t* pixel = Pixels.data() + (static_cast<size_t>(y) * Width + x) * 4;
        return {pixel[0], pixel[1], pixel[2], pixel[3]};
    }
};
TRgbaPicture ToRgba(const AVFrame& frame);

// The first sample of a pixel on plane 0 (luma or gray), scaled to 8 bits.
int LumaAt(const AVFrame& frame, int x, int y);

}  // namespace kestrova::vhooktest
