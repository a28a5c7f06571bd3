#include "tools/mediagen/VideoTrack.h"

#include "tools/mediagen/FramePattern.h"

#include <stdexcept>
#include <string>

namespace kestrova::mediagen {

VideoTrack::VideoTrack(AVFormatContext* muxer, const char* encoderName, const GeneratorOptions& options,
                       int64_t firstNumber, int64_t endNumber)
    : stream_(muxer, encoderName), rate_(options.rate), next_(firstNumber), end_(endNumber) {
    if (endNumber - 1 > kMaxFrameNumber)
        throw std::runtime_error("too many frames: the picture code counts up to " +
                                 std::to_string(kMaxFrameNumber));
    Configure(options);
    frame_.reset(CheckAlloc(av_frame_alloc()));
    frame_->format = AV_PIX_FMT_YUV420P;
    frame_->width = options.width;
    frame_->height = options.height;
    CheckLib(av_frame_get_buffer(frame_.get(), 0), "allocating a picture");
}

void VideoTrack::Configure(const GeneratorOptions& options) {
    AVCodecContext* context = stream_.Context();
    context->width = options.width;
    context->height = options.height;
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->time_base = {rate_.den, rate_.num};
    context->framerate = {rate_.num, rate_.den};
    context->sample_aspect_ratio = {1, 1};
    // A key frame every second, so seeking has something to land on.
    context->gop_size = (rate_.num + rate_.den - 1) / rate_.den;
    context->thread_count = 1;

    OptionList privateOptions;
    if (stream_.Codec()->id == AV_CODEC_ID_H264) {
        // veryfast keeps B-frames (reordered timestamps, like real downloads) and is quick.
        privateOptions.Set("preset", "veryfast");
    } else {
        // Fixed quantiser: sharp enough for the picture code at any size.
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = FF_QP2LAMBDA * 3;
    }
    stream_.Open(&privateOptions.entries);
    if (privateOptions.Count() > 0)
        throw std::runtime_error(std::string("the encoder ") + stream_.Codec()->name +
                                 " did not take every option");
}

double VideoTrack::NextTime() const {
    return static_cast<double>(next_) * rate_.den / rate_.num;
}

void VideoTrack::EncodeNext() {
    // The encoder may still hold the previous picture: get a buffer of our own if so.
    CheckLib(av_frame_make_writable(frame_.get()), "allocating a picture");
    const int number = static_cast<int>(next_);
    DrawFramePattern(number, frame_->width, frame_->height, frame_->data[0], frame_->linesize[0],
                     frame_->data[1], frame_->linesize[1], frame_->data[2], frame_->linesize[2]);
    frame_->pts = next_;
    stream_.Encode(frame_.get());
    ++next_;
}

} // namespace kestrova::mediagen
