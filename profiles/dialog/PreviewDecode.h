#pragma once
// Decoding the preview picture: the picture the source shows at a chosen time.
#include <cstdint>

namespace kestrova {

class TAVProbe;
class TEngineBitmap;

// Limits the pictures decoded after the key picture that a seek lands on, so that a source
// with very long runs between key pictures cannot hold the window up for long; the picture
// reached by then is shown.
inline constexpr int kMaxPicturesAfterSeek = 300;

// Seeks to the key picture at or before `time` (microseconds from the source's start) and
// decodes on to the picture shown at that time: the last one starting at or before it (the
// last picture of the source for a time at or past its end). `frameDuration` is the
// length of one picture in microseconds (0 when unknown). The picture is converted into
// `bitmap`; false when no picture could be decoded (the bitmap is then unchanged).
bool DecodePictureAt(TAVProbe& probe, int64_t time, int64_t frameDuration, TEngineBitmap& bitmap);

}  // namespace kestrova
