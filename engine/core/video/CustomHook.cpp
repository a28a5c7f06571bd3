// The front's picture hook: each decoded picture goes to the callback as a bitmap, taken from
// the job's own copy of the picture, and comes back into that copy while the callback leaves
// `update` set. A callback that raises leaves its picture as it was and is called again for the
// next one; a callback that asks to stop, or a picture that cannot be converted either way,
// ends the hook for the rest of the run.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/run/RunTables.h"
#include "engine/core/video/VideoPathState.h"
#include "engine/frame/FFmpegLogger.h"

#include <exception>
#include <string>

namespace kestrova {

void TCustomFFmpeg::RunCustomHook(const InputStreamState& ist, AVFrame& work) {
    TVideoPathState& path = *FVideoPath;
    if (!path.HookConverter.Convert(work)) {
        TFFLogger::Instance().Log(this, llError, "Cannot initialize the toRGB conversion context");
        RemoveCustomHook();
        return;
    }
    bool stopHook = false;
    bool update = true;
    try {
        OnCustomHook(*this, *path.HookConverter.Bitmap(), stopHook, update, ist.Pts, path.HookFrameCounter);
    } catch (const std::exception& error) {
        TFFLogger::Instance().Log(this, llError, std::string("Error occurs OnCustomHook: ") + error.what());
        update = false;
    } catch (...) {
        TFFLogger::Instance().Log(this, llError, "Error occurs OnCustomHook: unknown exception");
        update = false;
    }
    if (update && !CopyBitmapBack(work)) {
        TFFLogger::Instance().Log(this, llError, "Cannot initialize the fromRGB conversion context");
        stopHook = true;
    }
    if (stopHook) RemoveCustomHook();
}

// The bitmap, as the callback left it, back into the picture it was made from: copied as it is
// when the picture has the bitmap's layout, otherwise through a scaler kept for the next picture.
bool TCustomFFmpeg::CopyBitmapBack(AVFrame& work) {
    TVideoPathState& path = *FVideoPath;
    const TEngineBitmap& bitmap = *path.HookConverter.Bitmap();
    const uint8_t* source[4] = {bitmap.Bits(), nullptr, nullptr, nullptr};
    const int sourceLineSize[4] = {bitmap.BytesPerLine(), 0, 0, 0};
    const auto format = static_cast<AVPixelFormat>(work.format);
    if (format == AV_PIX_FMT_BGR24) {
        ff::av_image_copy(work.data, work.linesize, source, sourceLineSize, format, work.width, work.height);
        return true;
    }
    // The cached context frees the one handed in when it cannot reuse it.
    path.HookFromBitmap.reset(ff::sws_getCachedContext(path.HookFromBitmap.release(), work.width, work.height,
                                                       AV_PIX_FMT_BGR24, work.width, work.height, format,
                                                       SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!path.HookFromBitmap) return false;
    ff::sws_scale(path.HookFromBitmap.get(), source, sourceLineSize, 0, work.height, work.data,
                  work.linesize);
    return true;
}

void TCustomFFmpeg::RemoveCustomHook() {
    FVideoPath->CustomHookOn = false;
    FState.HooksInUse = false;
}

}  // namespace kestrova
