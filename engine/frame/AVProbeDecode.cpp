// TAVProbe: seeking, decoding single video pictures and turning them into bitmaps.
#include "engine/frame/AVProbe.h"

#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

#include <strings.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

namespace kestrova {

namespace {

constexpr AVRational kMicroseconds{1, AV_TIME_BASE};

// The per-packet and per-picture lines are only made when someone reads them.
bool DebugLines() {
    return TFFLogger::Instance().LogLevel() >= llDebug;
}

}  // namespace

TAVProbe::TAVProbe()
    : FPacket(ff::av_packet_alloc()), FDecodedFrame(ff::av_frame_alloc()),
      FPictureFrame(ff::av_frame_alloc()) {}

TAVProbe::~TAVProbe() {
    CloseDecoder();
}

void TAVProbe::ResetPicture() {
    FPicture = TProbePicture{};
    if (FPictureFrame) ff::av_frame_unref(FPictureFrame.get());
}

void TAVProbe::CloseDecoder() {
    if (!FDecoder) return;
    std::lock_guard lock(CodecLock());
    FDecoder.reset();
    FDecoderStream = -1;
}

void TAVProbe::CloseFile() {
    FSeekStream = -1;
    FSeekStartOffset = 0;
    FDecodeStream = -1;
    FEndOfStream = false;
    FDrained = false;
    ResetPicture();
    CloseDecoder();
    FConverter.Reset();
    TCustomAVProbe::CloseFile();
}

void TAVProbe::ReadInfo() {
    TCustomAVProbe::ReadInfo();
    FSeekStream = FirstVideoStreamIndex() >= 0 ? FirstVideoStreamIndex() : FirstAudioStreamIndex();
    FSeekStartOffset = 0;
    const AVFormatContext* context = Context();
    if (!context) return;
    if (FSeekStream >= 0) {
        const int64_t start = context->streams[FSeekStream]->start_time;
        if (start != AV_NOPTS_VALUE) FSeekStartOffset = start;
    } else if (context->start_time != AV_NOPTS_VALUE) {
        FSeekStartOffset = context->start_time;
    }
}

bool TAVProbe::CheckSeekable() {
    if (!RequireFile()) return false;
    if (!OwnsContext()) {
        const std::string message = "file cannot be seeked, handle is readonly.";
        LogError(AV_LOG_ERROR, message);
        throw EProbeError(message);
    }
    return true;
}

// An image file: "image2" for a named sequence, and for a single picture the demuxer of its
// picture format ("jpeg_pipe", "png_pipe", ...).
bool TAVProbe::IsImageSequence() const {
    const std::string name = OpenFormatName();
    static constexpr std::string_view kPipeSuffix = "_pipe";
    const bool pipe = name.size() > kPipeSuffix.size() &&
                      strcasecmp(name.c_str() + name.size() - kPipeSuffix.size(), kPipeSuffix.data()) == 0;
    return pipe || strcasecmp(name.c_str(), "image2") == 0 || strcasecmp(name.c_str(), "image2pipe") == 0;
}

bool TAVProbe::Seek(int flags, int64_t position) {
    if (!CheckSeekable()) return false;
    AVFormatContext* context = Context();
    if (IsImageSequence()) {
        LogError(AV_LOG_INFO, "\"image2\" format cannot to be seeked.");
        return false;
    }
    const bool byBytes = (flags & AVSEEK_FLAG_BYTE) != 0;
    if (position < 0) position = 0;
    int64_t target = position;
    if (!byBytes) {
        if (FSeekStream >= 0)
            target = ff::av_rescale_q(position, kMicroseconds, context->streams[FSeekStream]->time_base);
        if (FSeekStartOffset > 0) target += FSeekStartOffset;
    }

    if (FDecoder) ff::avcodec_flush_buffers(FDecoder.get());
    FEndOfStream = false;
    FDrained = false;
    ResetPicture();

    int result = 0;
    if (target > 0) {
        result = ff::av_seek_frame(context, FSeekStream, target, flags & 7);
    } else {
        result = ff::av_seek_frame(context, FSeekStream, 0, (flags | AVSEEK_FLAG_BACKWARD) & 7);
        if (result < 0) result = ff::av_seek_frame(context, FSeekStream, target, flags & 6);
    }
    if (result < 0) {
        LogError(AV_LOG_ERROR, byBytes ? FormatText("could not seek to position %lld bytes",
                                                    static_cast<long long>(position))
                                       : FormatText("could not seek to position %0.3f seconds",
                                                    static_cast<double>(position) / AV_TIME_BASE));
        return false;
    }
    const int64_t reached = context->pb ? ff::avio_seek(context->pb, 0, SEEK_CUR) : 0;
    LogError(AV_LOG_DEBUG, FormatText("seek to position %lld bytes", static_cast<long long>(reached)));
    if (context->pb && ff::avio_feof(context->pb)) {
        FEndOfStream = true;
        return false;
    }
    return true;
}

bool TAVProbe::ChooseDecodeStream(int index) {
    int chosen = index;
    if (chosen < 0) chosen = FDecodeStream;
    if (chosen < 0 && !StreamOfKind(-1, AVMEDIA_TYPE_VIDEO)) return false;
    if (chosen < 0) chosen = FirstVideoStreamIndex();
    if (!StreamOfKind(chosen, AVMEDIA_TYPE_VIDEO)) return false;
    if (chosen != FDecodeStream) ResetPicture();
    FDecodeStream = chosen;
    return true;
}

bool TAVProbe::OpenDecoder() {
    if (FDecoder && FDecoderStream == FDecodeStream) return true;
    const AVStream& stream = *Context()->streams[FDecodeStream];
    const AVCodecParameters& par = *stream.codecpar;
    if (par.width <= 0 || par.height <= 0) {
        LogError(AV_LOG_ERROR, "frame size of codec is invalid.");
        return false;
    }
    CloseDecoder();
    const AVCodec* codec = ff::avcodec_find_decoder(par.codec_id);
    if (!codec) {
        LogError(AV_LOG_ERROR, FormatText("Unsupported codec (id=%d) for input file stream #%d",
                                          static_cast<int>(par.codec_id), FDecodeStream));
        return false;
    }
    CodecContextPtr decoder(ff::avcodec_alloc_context3(codec));
    const std::string openError =
            FormatText("Error while opening codec for input file stream #%d", FDecodeStream);
    if (!decoder || ff::avcodec_parameters_to_context(decoder.get(), &par) < 0) {
        LogError(AV_LOG_ERROR, openError);
        return false;
    }
    decoder->pkt_timebase = stream.time_base;
    {
        std::lock_guard lock(CodecLock());
        if (ff::avcodec_open2(decoder.get(), codec, nullptr) < 0) {
            LogError(AV_LOG_ERROR, openError);
            return false;
        }
    }
    FDecoder = std::move(decoder);
    FDecoderStream = FDecodeStream;
    FDrained = false;
    return true;
}

void TAVProbe::StorePicture(const AVPacket* packet) {
    const AVFrame& frame = *FDecodedFrame;
    const AVStream& stream = *Context()->streams[FDecodeStream];
    FPicture.Ready = true;
    FPicture.PixelFormat = frame.format;
    FPicture.Width = frame.width;
    FPicture.Height = frame.height;
    FPicture.KeyFrame = frame.key_frame == 1;
    FPicture.PictureType = frame.pict_type >= 0 && frame.pict_type <= 7 ? frame.pict_type : 0;
    // A picture drained at the end came from no packet read now: it has no packet times.
    FPicture.PacketDts = packet ? packet->dts : AV_NOPTS_VALUE;
    FPicture.PacketPts = packet ? packet->pts : AV_NOPTS_VALUE;
    FPicture.PacketPos = packet ? packet->pos : -1;
    // The decoder carries each packet's times to the picture it gives, also when pictures come
    // out in another order than their packets went in.
    int64_t time = frame.best_effort_timestamp;
    if (time == AV_NOPTS_VALUE) time = frame.pts;
    if (time == AV_NOPTS_VALUE) time = frame.pkt_dts;
    FPicture.Pts = AV_NOPTS_VALUE;
    if (time != AV_NOPTS_VALUE) {
        if (stream.start_time != AV_NOPTS_VALUE) time -= stream.start_time;
        FPicture.Pts = ff::av_rescale_q(time, stream.time_base, kMicroseconds);
        if (DebugLines())
            LogError(AV_LOG_DEBUG,
                     FormatText("decode PTS: %0.3f", static_cast<double>(FPicture.Pts) / AV_TIME_BASE));
    }
    // The picture takes the decoded frame's buffers over: nothing is copied.
    ff::av_frame_unref(FPictureFrame.get());
    ff::av_frame_move_ref(FPictureFrame.get(), FDecodedFrame.get());
}

bool TAVProbe::ReceivePicture() {
    if (ff::avcodec_receive_frame(FDecoder.get(), FDecodedFrame.get()) < 0) return false;
    StorePicture(FDrained ? nullptr : FPacket.get());
    return true;
}

bool TAVProbe::DecodeNextFrame(int index) {
    if (!RequireFile()) return false;
    if (!ChooseDecodeStream(index)) return false;
    if (!CheckSeekable()) return false;
    if (FPicture.Ready && IsImageSequence()) return true;  // a still image decodes once
    const auto endOfStream = [this] {
        LogError(AV_LOG_INFO, "stream eof reached.");
        FEndOfStream = true;
        return false;
    };
    if (FEndOfStream) return endOfStream();
    if (!OpenDecoder()) return false;

    AVFormatContext* context = Context();
    AVPacket* packet = FPacket.get();
    for (;;) {
        if (ReceivePicture()) return true;  // a packet may have given several pictures
        if (FDrained) return endOfStream();
        ff::av_packet_unref(packet);
        if (ff::av_read_frame(context, packet) < 0) {
            // Pictures the decoder still holds come out before the end is reported.
            ff::avcodec_send_packet(FDecoder.get(), nullptr);
            FDrained = true;
            continue;
        }
        if (packet->stream_index != FDecodeStream) continue;
        if (DebugLines())
            LogError(AV_LOG_DEBUG, FormatText("pkt.st_idx=%d, dts=%lld, pts=%lld, flags=%d",
                                              packet->stream_index, static_cast<long long>(packet->dts),
                                              static_cast<long long>(packet->pts), packet->flags));
        // A damaged packet is skipped: the next one may decode.
        ff::avcodec_send_packet(FDecoder.get(), packet);
    }
}

bool TAVProbe::PictureToBitmap(TEngineBitmap& bitmap) {
    if (!FPicture.Ready) {
        LogError(AV_LOG_ERROR, "picture not ready, please decode first");
        return false;
    }
    const bool converted = FConverter.Convert(*FPictureFrame);
    const TEngineBitmap* source = FConverter.Bitmap();
    const int width = converted && source ? source->Width() : FPictureFrame->width;
    const int height = converted && source ? source->Height() : FPictureFrame->height;
    bitmap.SetSize(width, height);
    const std::size_t bytes = static_cast<std::size_t>(bitmap.BytesPerLine()) * std::max(height, 0);
    if (bytes == 0) return converted;
    if (converted && source) {
        std::memcpy(bitmap.Line(0), source->Bits(), bytes);
        return true;
    }
    std::memset(bitmap.Line(0), 0, bytes);
    LogError(AV_LOG_ERROR, "convert picture to bitmap failed");
    return false;
}

}  // namespace kestrova
