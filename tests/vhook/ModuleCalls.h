#pragma once
// A hook module called directly, as the engine calls it, on pictures the test lays out itself.
extern "C" {
#include <libavutil/pixfmt.h>
}

#include "DecodedVideo.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrova::vhooktest {

// The picture record a module receives.
struct THookPictureRecord {
    uint8_t* Data[4];
    int Linesize[4];
};

// One hook of a module: configured on construction, released on destruction.
class THookInstance {
public:
    // args[0] is the module path. Result() is Configure's result.
    explicit THookInstance(const std::vector<std::string>& args);
    ~THookInstance();
    THookInstance(const THookInstance&) = delete;
    THookInstance& operator=(const THookInstance&) = delete;

    int Result() const { return FResult; }
    // The context Configure left behind (null after a refusal).
    void* Context() const { return FContext; }
    void Process(THookPictureRecord& picture, AVPixelFormat format, int width, int height, int64_t pts);

private:
    using TConfigure = int (*)(void**, int, char**);
    using TProcess = void (*)(void*, THookPictureRecord*, AVPixelFormat, int, int, int64_t);
    using TRelease = void (*)(void*);

    TConfigure FConfigure = nullptr;
    TProcess FProcess = nullptr;
    TRelease FRelease = nullptr;
    std::vector<std::string> FArguments;
    std::vector<char*> FArgv;
    void* FContext = nullptr;
    int FResult = -1;
};

// A picture whose planes are fenced: each row is followed by padding and each plane lies
// between guard bands, all filled with a known byte, so that any write outside the picture
// shows. The picture itself is filled with a steady pattern.
class TFencedPicture {
public:
    TFencedPicture(AVPixelFormat format, int width, int height);

    THookPictureRecord& Record() { return FRecord; }
    // Every guard and padding byte still holds its fill.
    bool FencesIntact() const;
    // The bytes of the picture proper (no padding), plane after plane.
    std::vector<uint8_t> Content() const;
    // A frame record over the planes (they stay owned by this picture), to read pixels with.
    TFramePtr AsFrame() const;

private:
    AVPixelFormat FFormat;
    int FWidth, FHeight;
    struct TPlane {
        std::vector<uint8_t> Buffer;
        int RowBytes = 0, Rows = 0, Linesize = 0;
    };
    std::vector<TPlane> FPlanes;
    THookPictureRecord FRecord{};
};

}  // namespace kestrova::vhooktest
