// DoVideoOut: one decoded (or filtered) picture becomes zero, one or several encoded frames.
// The frame count follows the video sync method: pictures are dropped when the input runs
// behind the output's frame clock and repeated when it runs ahead. The picture is cropped by
// moving its plane pointers, scaled into the stream's temporary picture, padded in place and
// handed to the encoder once per frame to write; each picture the encoder takes may also go to
// the preview.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/run/RunTables.h"
#include "engine/core/video/PictureCropPad.h"
#include "engine/core/video/VideoPathState.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kestrova {

namespace {

constexpr int kMaxRepeatedFrames = INT_MAX;

int EvenBand(int band, int newSize, int oldSize) {
    return oldSize > 0 ? (band * newSize / oldSize) & ~1 : band;
}

}  // namespace

int TCustomFFmpeg::DoVideoOut(TOutputFile&, OutputStreamState& ost, InputStreamState& ist, AVFrame& picture) {
    if (ost.Video.FilterGraph) return FilterVideoOut(ost, ist, picture);
    return VideoOutAt(ost, ist, picture, FRunTables->InputStreams[static_cast<size_t>(ost.SyncIndex)].Pts);
}

int TCustomFFmpeg::VideoOutAt(OutputStreamState& ost, InputStreamState& ist, AVFrame& picture,
                              int64_t inputTime) {
    int frames = FramesToWrite(ost, inputTime);
    frames = std::min(frames, FRun.MaxFrames[fkVideo] - ost.FrameNumber);
    if (frames <= 0) return 0;
    AVFrame* final = PrepareVideoPicture(ost, ist, picture);
    if (!final) return 0;
    return EncodeVideoFrames(ost, ist, picture, *final, frames);
}

// A gap between the input's time and the stream's frame clock longer than the discontinuity
// threshold is a jump of the input's timestamps (a damaged file, or streams whose times lie days
// apart), not a picture meant to be held that long: the clock moves with the input instead of
// repeating the picture over the gap, and instead of dropping every picture after a jump back.
// Before the first frame the input offset is a gap asked for, and is filled.
double TCustomFFmpeg::FollowTimestampJump(OutputStreamState& ost, double delta, double frameSeconds) {
    double allowed = FRun.DtsDeltaThreshold;
    if (ost.FrameNumber == 0) allowed += std::fabs(static_cast<double>(FRun.InputTsOffset)) / 1000000;
    if (!(std::fabs(delta) * frameSeconds > allowed)) return delta;
    ost.Video.ClockShift += delta;
    if (FRun.Verbose >= 0)
        TFFLogger::Instance().Log(
                this, llWarning,
                FormatText("video timestamps jump by %.0f s; the frame clock follows", delta * frameSeconds));
    return 0;
}

int TCustomFFmpeg::FramesToWrite(OutputStreamState& ost, int64_t inputTime) {
    const AVCodecContext& encoder = *ost.Output->Codec;
    const double frameSeconds = ::av_q2d(encoder.time_base);
    // The input time counted in frames of the encoder's clock.
    const double inputFrames =
            static_cast<double>(inputTime - FRun.StartTime) / 1000000 / frameSeconds - ost.Video.ClockShift;
    const int method = FRun.VideoSyncMethod;
    if (method == 0) {
        ost.SyncOpts = std::llround(inputFrames);
        return 1;
    }
    int frames = 1;
    const double delta =
            FollowTimestampJump(ost, inputFrames - static_cast<double>(ost.SyncOpts), frameSeconds);
    const bool variableRate =
            method == 2 || (method < 0 && (ost.File->Context->oformat->flags & AVFMT_VARIABLE_FPS));
    if (delta < -1.1) {
        frames = 0;
    } else if (variableRate) {
        if (delta <= -0.6)
            frames = 0;
        else if (delta > 0.6)
            ost.SyncOpts = std::llround(static_cast<double>(ost.SyncOpts) + delta);
    } else if (delta > 1.1) {
        // A damaged timestamp far ahead must not wrap the count around.
        frames = delta < kMaxRepeatedFrames ? static_cast<int>(std::lround(delta)) : kMaxRepeatedFrames;
    }
    if (frames == 0) {
        ++FStatistics.DropFrames;
        if (FRun.Verbose > 2) TFFLogger::Instance().Log(this, llVerbose, "*** drop!");
    } else if (frames > 1) {
        FStatistics.DupFrames += frames - 1;
        if (FRun.Verbose > 2)
            TFFLogger::Instance().Log(this, llVerbose, FormatText("*** %d dup!", frames - 1));
    }
    return frames;
}

// A picture that cannot be cropped or padded ends the run with exit-on-error; otherwise it
// is skipped (null) with a log line.
AVFrame* TCustomFFmpeg::FailCropOrPad(const char* message) {
    if (FRun.ExitOnError) throw FFmpegException(message);
    TFFLogger::Instance().Log(this, llError, message);
    return nullptr;
}

// The picture to encode, at the encoder's size: the stream's own picture from the filter chain,
// a view of the decoded picture (cropped or whole), or the stream's temporary picture. Never the
// decoded picture itself: the encoding step sets its own times and flags on what it gets, and
// the decoded picture goes on to the other streams. Null when cropping or padding failed (logged).
AVFrame* TCustomFFmpeg::PrepareVideoPicture(OutputStreamState& ost, InputStreamState& ist, AVFrame& picture) {
    TVideoOutState& video = ost.Video;
    const bool filtered = video.FilterGraph != nullptr;
    const auto format = static_cast<AVPixelFormat>(picture.format);
    uint8_t* data[4] = {picture.data[0], picture.data[1], picture.data[2], picture.data[3]};
    const int* linesize = picture.linesize;
    // A new decoded size first: the bands it brings are the ones to crop this picture with.
    if (!filtered) FollowPictureSize(ost, ist, picture);
    const bool crop = !filtered && video.Crop;
    if (crop && !CropPlanes(data, linesize, format, video.CropBands.Top, video.CropBands.Left))
        return FailCropOrPad("error cropping picture");
    const int width = picture.width - (crop ? video.CropBands.Width() : 0);
    const int height = picture.height - (crop ? video.CropBands.Height() : 0);

    AVFrame* target = &picture;
    if ((video.Resample && !filtered) || video.Pad) {
        AVFrame& temp = *video.TempPicture;
        if (ff::av_frame_make_writable(&temp) < 0) throw FFmpegException("Video encoding failed");
        uint8_t* inner[4] = {temp.data[0], temp.data[1], temp.data[2], temp.data[3]};
        if (video.Pad && !CropPlanes(inner, temp.linesize, static_cast<AVPixelFormat>(temp.format),
                                     video.PadBands.Top, video.PadBands.Left))
            return FailCropOrPad("error padding picture");
        if (video.Resample && !filtered)
            ff::sws_scale(video.Scaler.get(), data, linesize, 0, height, inner, temp.linesize);
        else
            ff::av_image_copy(inner, temp.linesize, const_cast<const uint8_t**>(data), linesize, format,
                              width, height);
        // The pending pad colour, read here on purpose: the colour last set, for every stream.
        if (video.Pad && !PadBorders(temp, video.PadBands, FVideo.PadColor))
            return FailCropOrPad("error padding picture");
        target = &temp;
    } else if (!filtered) {
        // A view of the decoded picture that starts at the first kept pixel: no copy.
        if (!video.PictureView) video.PictureView.reset(ff::av_frame_alloc());
        AVFrame* view = video.PictureView.get();
        ff::av_frame_unref(view);
        if (!view || ff::av_frame_ref(view, &picture) < 0) throw FFmpegException("Video encoding failed");
        for (int plane = 0; plane < 4; ++plane) view->data[plane] = data[plane];
        view->width = width;
        view->height = height;
        target = view;
    }
    return target;
}

// A decoded picture whose size or format differs from what the stream was set up for: the
// bands follow the new size and the scaler is made again; a stream that does not scale
// cannot take it.
void TCustomFFmpeg::FollowPictureSize(OutputStreamState& ost, const InputStreamState& ist,
                                      const AVFrame& picture) {
    TVideoOutState& video = ost.Video;
    const int width = picture.width - video.CropBands.Width();
    const int height = picture.height - video.CropBands.Height();
    if (width == video.ResampleWidth && height == video.ResampleHeight &&
        picture.format == video.ResamplePixelFormat)
        return;
    AcceptPictureSizeChange(ost, ist, picture);
    const auto format = static_cast<AVPixelFormat>(picture.format);
    video.CropBands.Top = EvenBand(video.OriginalCropBands.Top, picture.height, video.OriginalHeight);
    video.CropBands.Bottom = EvenBand(video.OriginalCropBands.Bottom, picture.height, video.OriginalHeight);
    video.CropBands.Left = EvenBand(video.OriginalCropBands.Left, picture.width, video.OriginalWidth);
    video.CropBands.Right = EvenBand(video.OriginalCropBands.Right, picture.width, video.OriginalWidth);
    video.ResampleWidth = picture.width - video.CropBands.Width();
    video.ResampleHeight = picture.height - video.CropBands.Height();
    video.ResamplePixelFormat = picture.format;
    const AVCodecContext& encoder = *ost.Output->Codec;
    FRun.ScalerFlags = FOptions.ScalerFlags();
    video.Scaler.reset(ff::sws_getContext(video.ResampleWidth, video.ResampleHeight, format,
                                          encoder.width - video.PadBands.Width(),
                                          encoder.height - video.PadBands.Height(), encoder.pix_fmt,
                                          FRun.ScalerFlags, nullptr, nullptr, nullptr));
    if (!video.Scaler) throw FFmpegException("Cannot get resampling context");
}

void TCustomFFmpeg::AcceptPictureSizeChange(const OutputStreamState& ost, const InputStreamState& ist,
                                            const AVFrame& picture) {
    const char* formatName = ff::av_get_pix_fmt_name(static_cast<AVPixelFormat>(picture.format));
    TFFLogger::Instance().Log(this, llQuiet,
                              FormatText("Input Stream #%d.%d frame size changed to %dx%d, %s", ist.FileIndex,
                                         ist.StreamIndex, picture.width, picture.height,
                                         formatName ? formatName : "?"));
    if (!ost.Video.Resample)
        throw FFmpegException(FormatText("Input Stream #%d.%d frame size changed to %dx%d: the output stream "
                                         "#%d.%d keeps the first size and cannot scale pictures",
                                         ist.FileIndex, ist.StreamIndex, picture.width, picture.height,
                                         ost.FileIndex, ost.Index));
}

int TCustomFFmpeg::EncodeVideoFrames(OutputStreamState& ost, const InputStreamState& ist,
                                     const AVFrame& decoded, AVFrame& picture, int frames) {
    const AVCodecContext& encoder = *ost.Output->Codec;
    picture.interlaced_frame = decoded.interlaced_frame;
    // Top field first, same quality and the motion-estimation threshold are the pending settings,
    // read here on purpose: the values last set, for every video stream of the run.
    if (encoder.flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME))
        picture.top_field_first = FVideo.TopFieldFirst == -1 ? decoded.top_field_first : FVideo.TopFieldFirst;
    picture.quality = FVideo.SameQuality ? ist.Quality : encoder.global_quality;
    // The encoder decides the picture types unless motion estimation reuses the decoder's.
    picture.pict_type = FVideo.MeThreshold ? decoded.pict_type : AV_PICTURE_TYPE_NONE;
    int written = 0;
    for (int frame = 0; frame < frames && !FStopRequested; ++frame) {
        picture.pts = ost.SyncOpts;
        // The picture is counted before its packets are written, so that the statistics line of
        // a packet names the pictures sent so far (the first line is frame 1).
        ++ost.SyncOpts;
        ++ost.FrameNumber;
        const int size = WriteEncodedPackets(ost, &picture);
        if (size > 0)
            HandPictureToPreview(picture, ff::av_rescale_q(picture.pts, encoder.time_base, kMicroseconds));
        written += size;
    }
    return written;
}

}  // namespace kestrova
