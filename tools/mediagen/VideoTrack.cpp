#include "tools/mediagen/VideoTrack.h"

#include "tools/mediagen/FramePattern.h"

#include <stdexcept>
#include <string>

namespace kestrova::mediagen {

namespace {

// JPEG encoders take full-range pictures only; the picture code reads the same in either range.
AVPixelFormat PictureFormat(const AVCodec* codec) {
    return codec->id == AV_CODEC_ID_MJPEG ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
}

}  // namespace

TVideoTrack::TVideoTrack(AVFormatContext* muxer, const char* encoderName, const TGeneratorOptions& options,
                         int64_t firstNumber, int64_t endNumber)
    : FStream(muxer, encoderName), FOptions(options), FRate(options.Rate), FNext(firstNumber),
      FEnd(endNumber) {
    if (endNumber - 1 > kMaxFrameNumber)
        throw std::runtime_error("too many frames: the picture code counts up to " +
                                 std::to_string(kMaxFrameNumber));
    if (ChangesSize(options)) FChangeAt = (firstNumber + endNumber) / 2;
    Configure(options.Width, options.Height);
    AllocatePicture(options.Width, options.Height);
}

void TVideoTrack::AllocatePicture(int width, int height) {
    FFrame.reset(CheckAlloc(av_frame_alloc()));
    FFrame->format = PictureFormat(FStream.Codec());
    FFrame->width = width;
    FFrame->height = height;
    CheckLib(av_frame_get_buffer(FFrame.get(), 0), "allocating a picture");
}

void TVideoTrack::ChangeSize() {
    FStream.Restart();
    Configure(FOptions.ChangeWidth, FOptions.ChangeHeight);
    AllocatePicture(FOptions.ChangeWidth, FOptions.ChangeHeight);
}

void TVideoTrack::Configure(int width, int height) {
    AVCodecContext* context = FStream.Context();
    context->width = width;
    context->height = height;
    context->pix_fmt = PictureFormat(FStream.Codec());
    context->time_base = {FRate.Den, FRate.Num};
    context->framerate = {FRate.Num, FRate.Den};
    context->sample_aspect_ratio = {1, 1};
    // A key frame every second, so seeking has something to land on.
    context->gop_size = (FRate.Num + FRate.Den - 1) / FRate.Den;
    context->thread_count = 1;

    TOptionList privateOptions;
    if (FStream.Codec()->id == AV_CODEC_ID_H264) {
        // veryfast keeps B-frames (reordered timestamps, like real downloads) and is quick.
        privateOptions.Set("preset", "veryfast");
    } else {
        // Fixed quantiser: sharp enough for the picture code at any size.
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = FF_QP2LAMBDA * 3;
    }
    FStream.Open(&privateOptions.Entries);
    if (privateOptions.Count() > 0)
        throw std::runtime_error(std::string("the encoder ") + FStream.Codec()->name +
                                 " did not take every option");
}

double TVideoTrack::NextTime() const {
    return static_cast<double>(FNext) * FRate.Den / FRate.Num;
}

void TVideoTrack::EncodeNext() {
    if (FNext == FChangeAt) ChangeSize();
    // The encoder may still hold the previous picture: get a buffer of our own if so.
    CheckLib(av_frame_make_writable(FFrame.get()), "allocating a picture");
    const int number = static_cast<int>(FNext);
    DrawFramePattern(number, FFrame->width, FFrame->height, FFrame->data[0], FFrame->linesize[0],
                     FFrame->data[1], FFrame->linesize[1], FFrame->data[2], FFrame->linesize[2]);
    FFrame->pts = FNext;
    FStream.Encode(FFrame.get());
    ++FNext;
}

}  // namespace kestrova::mediagen
