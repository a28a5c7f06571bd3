#include "DecodedVideo.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace kestrova::vhooktest {

namespace {

struct TInputClose {
    void operator()(AVFormatContext* input) const { avformat_close_input(&input); }
};
struct TCodecFree {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct TPacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

void TakeFrames(AVCodecContext& codec, std::vector<TFramePtr>& frames) {
    for (;;) {
        TFramePtr frame(av_frame_alloc());
        if (!frame || avcodec_receive_frame(&codec, frame.get()) < 0) return;
        frames.push_back(std::move(frame));
    }
}

// Bytes of one pixel (or chroma sample) on a plane: the smallest step of its components.
int PlaneStep(const AVPixFmtDescriptor& descriptor, int plane) {
    int step = 0;
    for (int c = 0; c < descriptor.nb_components; ++c)
        if (descriptor.comp[c].plane == plane && (step == 0 || descriptor.comp[c].step < step))
            step = descriptor.comp[c].step;
    return step;
}

bool IsChromaPlane(const AVPixFmtDescriptor& descriptor, int plane) {
    return !(descriptor.flags & AV_PIX_FMT_FLAG_RGB) && (plane == 1 || plane == 2);
}

int PlaneHeight(const AVPixFmtDescriptor& descriptor, int plane, int height) {
    return IsChromaPlane(descriptor, plane) ? AV_CEIL_RSHIFT(height, descriptor.log2_chroma_h) : height;
}

// One component of a pixel as stored, read from the plane and place it lies in.
int RawComponent(const AVFrame& frame, const AVPixFmtDescriptor& descriptor, int component, int x, int y) {
    const bool chroma = !(descriptor.flags & AV_PIX_FMT_FLAG_RGB) && (component == 1 || component == 2);
    const int sampleX = chroma ? x >> descriptor.log2_chroma_w : x;
    const int sampleY = chroma ? y >> descriptor.log2_chroma_h : y;
    uint16_t value = 0;
    av_read_image_line2(&value, const_cast<const uint8_t**>(frame.data), frame.linesize, &descriptor, sampleX,
                        sampleY, component, 1, 0, 2);
    return value;
}

// The same scaled to 0..1.
double Component(const AVFrame& frame, const AVPixFmtDescriptor& descriptor, int component, int x, int y) {
    return RawComponent(frame, descriptor, component, x, y) / ((1 << descriptor.comp[component].depth) - 1.0);
}

int ToByte(double value) {
    return static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
}

}  // namespace

std::array<int, 4> PixelRgba(const AVFrame& frame, int x, int y) {
    const AVPixFmtDescriptor& descriptor = *av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    const bool alpha = (descriptor.flags & AV_PIX_FMT_FLAG_ALPHA) != 0;
    const int opacity =
            alpha ? ToByte(Component(frame, descriptor, descriptor.nb_components - 1, x, y)) : 255;
    if (descriptor.flags & AV_PIX_FMT_FLAG_RGB)
        return {ToByte(Component(frame, descriptor, 0, x, y)), ToByte(Component(frame, descriptor, 1, x, y)),
                ToByte(Component(frame, descriptor, 2, x, y)), opacity};
    if (descriptor.nb_components - (alpha ? 1 : 0) < 3) {
        const int luma = ToByte(Component(frame, descriptor, 0, x, y));
        return {luma, luma, luma, opacity};
    }

    // BT.601, limited range unless the format or the frame says full.
    const bool full =
            frame.color_range == AVCOL_RANGE_JPEG || std::string(descriptor.name).starts_with("yuvj");
    // Samples deeper than 8 bits are the 8-bit values shifted up.
    const double to8 = 1.0 / (1 << (descriptor.comp[0].depth - 8));
    const double y8 = RawComponent(frame, descriptor, 0, x, y) * to8;
    const double cb8 = RawComponent(frame, descriptor, 1, x, y) * to8;
    const double cr8 = RawComponent(frame, descriptor, 2, x, y) * to8;
    const double yn = full ? y8 / 255 : (y8 - 16) / 219;
    const double pb = (cb8 - 128) / (full ? 255.0 : 224.0), pr = (cr8 - 128) / (full ? 255.0 : 224.0);
    return {ToByte(yn + 1.402 * pr), ToByte(yn - 0.344136 * pb - 0.714136 * pr), ToByte(yn + 1.772 * pb),
            opacity};
}

std::vector<TFramePtr> DecodeVideo(const std::string& path) {
    std::vector<TFramePtr> frames;
    AVFormatContext* rawInput = nullptr;
    if (avformat_open_input(&rawInput, path.c_str(), nullptr, nullptr) < 0) return frames;
    std::unique_ptr<AVFormatContext, TInputClose> input(rawInput);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) return frames;
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) return frames;
    const AVStream* stream = input->streams[index];
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder) return frames;
    std::unique_ptr<AVCodecContext, TCodecFree> codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0 ||
        avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return frames;
    std::unique_ptr<AVPacket, TPacketFree> packet(av_packet_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == index && avcodec_send_packet(codec.get(), packet.get()) >= 0)
            TakeFrames(*codec, frames);
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(codec.get(), nullptr);
    TakeFrames(*codec, frames);
    return frames;
}

TArea ChangedArea(const AVFrame& before, const AVFrame& after) {
    const auto format = static_cast<AVPixelFormat>(after.format);
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    TArea changed{after.width, after.height, 0, 0};
    for (int plane = 0; plane < av_pix_fmt_count_planes(format); ++plane) {
        const int step = PlaneStep(*descriptor, plane);
        const int bytes = av_image_get_linesize(format, after.width, plane);
        const int shiftX = IsChromaPlane(*descriptor, plane) ? descriptor->log2_chroma_w : 0;
        const int shiftY = IsChromaPlane(*descriptor, plane) ? descriptor->log2_chroma_h : 0;
        for (int row = 0; row < PlaneHeight(*descriptor, plane, after.height); ++row) {
            const uint8_t* a = before.data[plane] + static_cast<ptrdiff_t>(row) * before.linesize[plane];
            const uint8_t* b = after.data[plane] + static_cast<ptrdiff_t>(row) * after.linesize[plane];
            if (std::memcmp(a, b, bytes) == 0) continue;
            for (int at = 0; at < bytes; ++at) {
                if (a[at] == b[at]) continue;
                const int sample = at / step;
                changed.X0 = std::min(changed.X0, sample << shiftX);
                changed.X1 = std::max(changed.X1, std::min((sample + 1) << shiftX, after.width));
                changed.Y0 = std::min(changed.Y0, row << shiftY);
                changed.Y1 = std::max(changed.Y1, std::min((row + 1) << shiftY, after.height));
            }
        }
    }
    return changed;
}

bool SameChroma(const AVFrame& before, const AVFrame& after) {
    const auto format = static_cast<AVPixelFormat>(after.format);
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    for (int plane = 1; plane < av_pix_fmt_count_planes(format); ++plane) {
        const int bytes = av_image_get_linesize(format, after.width, plane);
        for (int row = 0; row < PlaneHeight(*descriptor, plane, after.height); ++row)
            if (std::memcmp(before.data[plane] + static_cast<ptrdiff_t>(row) * before.linesize[plane],
                            after.data[plane] + static_cast<ptrdiff_t>(row) * after.linesize[plane],
                            bytes) != 0)
                return false;
    }
    return true;
}

TRgbaPicture ToRgba(const AVFrame& frame) {
    TRgbaPicture picture;
    picture.Width = frame.width;
    picture.Height = frame.height;
    picture.Pixels.reserve(static_cast<size_t>(frame.width) * frame.height * 4);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            for (const int value : PixelRgba(frame, x, y))
                picture.Pixels.push_back(static_cast<uint8_t>(value));
    return picture;
}

int LumaAt(const AVFrame& frame, int x, int y) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    const int depth = descriptor->comp[0].depth;
    const uint8_t* row = frame.data[0] + static_cast<ptrdiff_t>(y) * frame.linesize[0];
    if (depth <= 8) return row[x * descriptor->comp[0].step + descriptor->comp[0].offset];
    uint16_t sample = 0;
    std::memcpy(&sample, row + x * descriptor->comp[0].step, sizeof sample);
    return sample >> (depth - 8);
}

}  // namespace kestrova::vhooktest
