// The hand-off of encoded pictures to the preview: at most one picture per preview interval
// goes, as a bitmap, to the front's preview-bitmap callback when that flag is set, otherwise to
// the job's preview window when the window flag is set. A picture that cannot be converted, or
// a window the user closed, switches that preview off; nothing here ends the run.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/video/PreviewLock.h"
#include "engine/core/video/VideoPathState.h"
#include "engine/frame/FFmpegLogger.h"

#include <chrono>

namespace kestrova {

namespace {

int64_t WallClockMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

}  // namespace

std::mutex& PreviewLock() {
    static std::mutex lock;
    return lock;
}

int TCustomFFmpeg::PreviewFlags() const {
    std::lock_guard lock(PreviewLock());
    return FPreviewFlags;
}

void TCustomFFmpeg::ChangePreviewFlags(int flags, bool on) {
    std::lock_guard lock(PreviewLock());
    FPreviewFlags = on ? FPreviewFlags | flags : FPreviewFlags & ~flags;
}

void TCustomFFmpeg::HandPictureToPreview(const AVFrame& picture, int64_t pts) {
    TVideoPathState& path = *FVideoPath;
    const int flags = PreviewFlags();
    // A window whose flag is off goes now. Closing it waits for the main thread, so this happens
    // outside the lock: the main thread may be switching flags at the same moment.
    if (!(flags & kPreviewWindowFlag)) path.Previewer.reset();
    const bool toBitmap = (flags & kPreviewBitmapFlag) && OnPreviewBitmap;
    const bool toWindow = !toBitmap && (flags & kPreviewWindowFlag);
    if (!toBitmap && !toWindow) return;
    const int64_t now = WallClockMicroseconds();
    if (path.Previewed && FState.PreviewInterval > 0 && now - path.LastPreviewTime <= FState.PreviewInterval)
        return;
    path.Previewed = true;
    path.LastPreviewTime = now;

    if (!path.PreviewConverter.Convert(picture)) {
        TFFLogger::Instance().Log(this, llError, "Cannot initialize the toRGB conversion context");
        ChangePreviewFlags(toBitmap ? kPreviewBitmapFlag : kPreviewWindowFlag, false);
        if (toWindow) path.Previewer.reset();
        return;
    }
    const TEngineBitmap& bitmap = *path.PreviewConverter.Bitmap();
    if (toBitmap) {
        OnPreviewBitmap(*this, bitmap, pts, path.HookFrameCounter);
        return;
    }
    if (!path.Previewer) path.Previewer = std::make_unique<TPreviewer>();
    if (!path.Previewer->ShowFrame(bitmap, path.HookFrameCounter, pts)) {
        // The user closed the window: no more previews for this job.
        ChangePreviewFlags(kPreviewWindowFlag, false);
        path.Previewer.reset();
    }
}

}  // namespace kestrova
