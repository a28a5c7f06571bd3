#include "profiles/dialog/PreviewDecode.h"

#include "engine/frame/AVProbe.h"

#include <algorithm>

namespace kestrova {

namespace {

// The decoded picture is still being shown at `time`, or no later picture could tell.
bool ReachedTime(const TProbePicture& picture, int64_t time, int64_t frameDuration) {
    if (picture.Pts == INT64_MIN) return true;
    return picture.Pts + std::max<int64_t>(frameDuration, 1) > time;
}

}  // namespace

bool DecodePictureAt(TAVProbe& probe, int64_t time, int64_t frameDuration, TEngineBitmap& bitmap) {
    // A source that cannot seek (a still picture) still decodes its picture from where it is.
    if (!probe.Seek(AVSEEK_FLAG_BACKWARD, time)) probe.Seek(0, time);
    for (int decoded = 0; decoded <= kMaxPicturesAfterSeek; ++decoded) {
        // At the end of the source the last picture decoded stays ready.
        if (!probe.DecodeNextFrame()) break;
        if (ReachedTime(probe.Picture(), time, frameDuration)) break;
    }
    if (!probe.Picture().Ready) return false;
    return probe.PictureToBitmap(bitmap);
}

}  // namespace kestrova
