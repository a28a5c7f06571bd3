#include "data/vhook/common/RgbaImage.h"

namespace kestrova::vhook {

void ApplyColourKey(TRgbaImage& image, TRgb key) {
    for (size_t at = 0; at + 3 < image.Pixels.size(); at += 4) {
        uint8_t* pixel = image.Pixels.data() + at;
        if (pixel[0] == key.Red && pixel[1] == key.Green && pixel[2] == key.Blue) pixel[3] = 0;
    }
}

}  // namespace kestrova::vhook
