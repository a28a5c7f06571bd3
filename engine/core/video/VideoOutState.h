#pragma once
// Only for the core: what the video output path keeps per output stream during a run (set up in
// run/StreamMapping.cpp and video/VideoFilters.cpp, used by video/VideoOut.cpp): the scaler and
// the picture it scales into, the crop and pad bands, and the stream's filter chain.
#include "engine/core/video/PictureCropPad.h"
#include "engine/frame/LibPtr.h"

namespace kestrova {

struct TVideoOutState {
    // Scaling: on when the cropped decoder picture and the unpadded encoder picture differ in
    // size or pixel format. The scaler was made for the Resample* size and format.
    bool Resample = false;
    ScalerPtr Scaler;
    FramePtr TempPicture;  // scaled or padded picture handed to the encoder
    int ResampleWidth = 0, ResampleHeight = 0;
    int ResamplePixelFormat = AV_PIX_FMT_NONE;
    int OriginalWidth = 0, OriginalHeight = 0;  // decoder size, which the original bands belong to

    // Crop bands as they stand (they follow a change of the decoded size) and as they were set.
    bool Crop = false;
    TPictureBands CropBands;
    TPictureBands OriginalCropBands;
    FramePtr PictureView;  // a cropped view of the decoded picture (no copy)

    bool Pad = false;
    TPictureBands PadBands;

    // The filter chain: its graph, the source and sink inside it, and the picture taken from the
    // sink. No graph: no chain.
    FilterGraphPtr FilterGraph;
    AVFilterContext* FilterSource = nullptr;
    AVFilterContext* FilterSink = nullptr;
    FramePtr FilteredPicture;
    // The picture size and format the chain's source was made for.
    int FilterWidth = 0, FilterHeight = 0;
    int FilterPixelFormat = AV_PIX_FMT_NONE;

    // Encoder frames the frame clock was moved by at jumps of the input's timestamps.
    double ClockShift = 0;
};

}  // namespace kestrova
