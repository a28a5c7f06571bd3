// Pre-processing of every decoded picture before it reaches the output streams: deinterlacing,
// then the front's custom hook or else the loadable video hooks (within their periods), all on a
// copy the job owns.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/run/RunTables.h"
#include "engine/core/video/Deinterlace.h"
#include "engine/core/video/VideoPathState.h"
#include "engine/frame/FFmpegLogger.h"

namespace kestrova {

namespace {

// The work picture sized and formatted like `picture`, writable; null when it cannot be made.
AVFrame* PrepareWorkPicture(FramePtr& work, const AVFrame& picture) {
    if (!work) work.reset(ff::av_frame_alloc());
    if (!work) return nullptr;
    AVFrame& frame = *work;
    const bool sameShape = frame.buf[0] && frame.format == picture.format && frame.width == picture.width &&
                           frame.height == picture.height;
    if (sameShape) {
        // An encoder may still hold the last picture: then a new buffer is taken.
        return ff::av_frame_make_writable(&frame) < 0 ? nullptr : &frame;
    }
    ff::av_frame_unref(&frame);
    frame.format = picture.format;
    frame.width = picture.width;
    frame.height = picture.height;
    return ff::av_frame_get_buffer(&frame, 0) < 0 ? nullptr : &frame;
}

}  // namespace

void TCustomFFmpeg::PreProcessVideo(InputStreamState& ist, AVFrame& picture) {
    ++FVideoPath->HookFrameCounter;
    const bool customHook = FVideoPath->CustomHookOn;
    // The video hooks run on the pictures inside their periods of the output's timeline only.
    const bool videoHooks = !customHook && FState.HooksInUse && !FVideoHooks.Empty() &&
                            FRun.VideoHookPeriods.Contains(ist.Pts - FRun.StartTime);
    const bool hooks = customHook || videoHooks;
    // The pending deinterlace setting, read here on purpose: the value last set, for every picture.
    if (!FVideo.Deinterlace && !hooks) return;

    AVFrame* work = PrepareWorkPicture(FVideoPath->WorkPicture, picture);
    if (!work) {
        TFFLogger::Instance().Log(this, llError, "hook buf malloc error.");
        return;
    }
    const auto format = static_cast<AVPixelFormat>(picture.format);
    bool filled = false;
    if (FVideo.Deinterlace) {
        filled = DeinterlacePicture(picture, *work);
        if (!filled) TFFLogger::Instance().Log(this, llError, "Deinterlacing failed.");
    }
    if (!filled) {
        if (!hooks) return;  // nothing changed: the decoded picture goes on as it is
        ff::av_image_copy(work->data, work->linesize, const_cast<const uint8_t**>(picture.data),
                          picture.linesize, format, picture.width, picture.height);
    }
    if (customHook) {
        RunCustomHook(ist, *work);
    } else if (videoHooks) {
        TFrameHookPicture hookPicture{};
        for (int plane = 0; plane < 4; ++plane) {
            hookPicture.data[plane] = work->data[plane];
            hookPicture.linesize[plane] = work->linesize[plane];
        }
        FVideoHooks.Process(hookPicture, format, picture.width, picture.height, ist.Pts);
    }
    // The decoded picture now stands for the work picture, with its own times and flags.
    if (ff::av_frame_copy_props(work, &picture) < 0) return;
    ff::av_frame_unref(&picture);
    // Out of memory here would leave no picture at all: the run ends instead.
    if (ff::av_frame_ref(&picture, work) < 0) throw FFmpegException("hook buf malloc error.");
}

}  // namespace kestrova
