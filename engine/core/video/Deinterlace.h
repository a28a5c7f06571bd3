#pragma once
// A small deinterlacer for one picture in, one picture out: the lines of the top field are
// kept, each line of the bottom field is rebuilt from its neighbours with the vertical
// [-1 4 2 4 -1] / 8 filter, which removes the comb of moving edges and keeps still detail.
#include "engine/frame/LibHeaders.h"

namespace kestrova {

// Deinterlaces `source` into `target` (same size and format, its own buffer). Only planar
// 8-bit YUV and grey pictures are handled; false for any other format.
bool DeinterlacePicture(const AVFrame& source, AVFrame& target);

}  // namespace kestrova
