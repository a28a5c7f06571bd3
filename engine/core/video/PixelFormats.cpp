#include "engine/core/video/PixelFormats.h"

namespace kestrova {

bool IsPlanarYuv8(const AVPixFmtDescriptor& desc) {
    if (desc.flags &
        (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL))
        return false;
    if (desc.nb_components > 1 && !(desc.flags & AV_PIX_FMT_FLAG_PLANAR)) return false;
    for (int c = 0; c < desc.nb_components; ++c)
        if (desc.comp[c].depth != 8 || desc.comp[c].step != 1) return false;
    return true;
}

}  // namespace kestrova
