#pragma once
// The watermark: a picture in the top-right corner of every frame, 10 pixels in from the edges.
//   -f <picture>  the watermark picture (a 24- or 32-bit BMP; alpha is honoured)
//   -m <mode>     0 (default): see-through relief; the mark's lightness, relative to mid grey,
//                 brightens or darkens the frame, whose colours stay
//                 1: the mark in its own colours over the frame, weighted by its alpha
#include "data/vhook/common/HookInterface.h"
#include "data/vhook/common/ImageLayer.h"

#include <span>
#include <string_view>

namespace kestrova::vhook {

class TWatermarkHook {
public:
    int Configure(std::span<const std::string_view> arguments);
    void Process(THookPicture& picture, AVPixelFormat pixFmt, int width, int height, int64_t pts);

private:
    TImageLayer FMark;
    TBlendMode FMode = TBlendMode::LumaShift;
};

}  // namespace kestrova::vhook
