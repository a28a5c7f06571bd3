// One conversion of the 60 s clip by the engine component (ComponentBenchSupport.h) against the
// least a program must do for the same file over the same libraries and settings: decode,
// scale where the encoder's picture differs from the decoder's, encode and mux, with one codec
// thread in both (automatic codec threads off). Target: the component takes at most 1.03 times
// the minimal loop (counter component_over_minimal). Both run in turn, in this thread; the
// counter same_x264_settings is 1 when both encoders reported the same settings in their
// streams, so that the two did the same work.
#include "bench/engine/ComponentBenchSupport.h"

#include "engine/frame/LibPtr.h"

#include <fstream>
#include <iterator>

namespace {

using namespace kestrova;
using namespace kestrova::bench;

CodecContextPtr OpenDecoder(const AVStream& stream) {
    const AVCodec* codec = ff::avcodec_find_decoder(stream.codecpar->codec_id);
    Check(codec != nullptr, "decoder");
    CodecContextPtr context(ff::avcodec_alloc_context3(codec));
    Check(context && ff::avcodec_parameters_to_context(context.get(), stream.codecpar) >= 0,
          "decoder context");
    context->thread_count = 1;
    Check(ff::avcodec_open2(context.get(), codec, nullptr) >= 0, "open decoder");
    return context;
}

// An encoder's stream in the output, its parameters taken from the open encoder.
AVStream& AddEncodedStream(AVFormatContext& output, AVCodecContext& encoder, const AVCodec& codec) {
    if (output.oformat->flags & AVFMT_GLOBALHEADER) encoder.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Check(ff::avcodec_open2(&encoder, &codec, nullptr) >= 0, "open encoder");
    AVStream* stream = ff::avformat_new_stream(&output, nullptr);
    Check(stream && ff::avcodec_parameters_from_context(stream->codecpar, &encoder) >= 0, "output stream");
    stream->time_base = encoder.time_base;
    return *stream;
}

class TMinimalTranscode {
public:
    TMinimalTranscode(const std::string& input, const std::string& output) {
        AVFormatContext* raw = nullptr;
        Check(ff::avformat_open_input(&raw, input.c_str(), nullptr, nullptr) >= 0, "open input");
        FInput.reset(raw);
        Check(ff::avformat_find_stream_info(raw, nullptr) >= 0, "stream info");
        AVFormatContext* rawOutput = nullptr;
        ff::avformat_alloc_output_context2(&rawOutput, nullptr, nullptr, output.c_str());
        Check(rawOutput != nullptr, "output context");
        FOutput.reset(rawOutput);
        for (unsigned i = 0; i < raw->nb_streams; ++i) {
            const AVMediaType kind = raw->streams[i]->codecpar->codec_type;
            if (kind == AVMEDIA_TYPE_VIDEO && FVideoIndex < 0) FVideoIndex = static_cast<int>(i);
            if (kind == AVMEDIA_TYPE_AUDIO && FAudioIndex < 0) FAudioIndex = static_cast<int>(i);
        }
        Check(FVideoIndex >= 0 && FAudioIndex >= 0, "streams");
        OpenVideo();
        OpenAudio();
        Check(ff::avio_open(&rawOutput->pb, output.c_str(), AVIO_FLAG_WRITE) >= 0, "open output");
        Check(ff::avformat_write_header(rawOutput, nullptr) >= 0, "header");
    }

    void Run() {
        PacketPtr packet(ff::av_packet_alloc());
        while (ff::av_read_frame(FInput.get(), packet.get()) >= 0) {
            if (packet->stream_index == FVideoIndex)
                DecodeVideo(packet.get());
            else if (packet->stream_index == FAudioIndex)
                DecodeAudio(packet.get());
            ff::av_packet_unref(packet.get());
        }
        DecodeVideo(nullptr);
        DecodeAudio(nullptr);
        EncodeAudioFifo(true);
        Encode(*FVideoEncoder, nullptr, *FVideoStream);
        Encode(*FAudioEncoder, nullptr, *FAudioStream);
        Check(ff::av_write_trailer(FOutput.get()) >= 0, "trailer");
        ff::avio_closep(&FOutput->pb);
    }

private:
    void OpenVideo() {
        const AVStream& input = *FInput->streams[FVideoIndex];
        FVideoDecoder = OpenDecoder(input);
        const AVCodec* codec = ff::avcodec_find_encoder_by_name("libx264");
        Check(codec != nullptr, "libx264");
        FVideoEncoder.reset(ff::avcodec_alloc_context3(codec));
        AVCodecContext& encoder = *FVideoEncoder;
        encoder.width = FVideoDecoder->width;
        encoder.height = FVideoDecoder->height;
        encoder.pix_fmt = AV_PIX_FMT_YUV420P;
        encoder.sample_aspect_ratio = FVideoDecoder->sample_aspect_ratio;
        encoder.time_base = AVRational{input.r_frame_rate.den, input.r_frame_rate.num};
        encoder.framerate = input.r_frame_rate;
        encoder.bit_rate = kVideoBitRate;
        encoder.thread_count = 1;
        FVideoStream = &AddEncodedStream(*FOutput, encoder, *codec);
        FDecodedFrame.reset(ff::av_frame_alloc());
        FScaledFrame.reset(ff::av_frame_alloc());
    }

    void OpenAudio() {
        FAudioDecoder = OpenDecoder(*FInput->streams[FAudioIndex]);
        const AVCodec* codec = ff::avcodec_find_encoder_by_name("aac");
        Check(codec != nullptr, "aac");
        FAudioEncoder.reset(ff::avcodec_alloc_context3(codec));
        AVCodecContext& encoder = *FAudioEncoder;
        encoder.sample_fmt = AV_SAMPLE_FMT_FLTP;
        encoder.sample_rate = FAudioDecoder->sample_rate;
        Check(ff::av_channel_layout_copy(&encoder.ch_layout, &FAudioDecoder->ch_layout) >= 0, "layout");
        encoder.time_base = AVRational{1, encoder.sample_rate};
        encoder.bit_rate = kAudioBitRate;
        FAudioStream = &AddEncodedStream(*FOutput, encoder, *codec);
        // The decoder gives what the encoder takes (planar floats, same rate and layout).
        Check(FAudioDecoder->sample_fmt == encoder.sample_fmt, "sample format");
        FFifo.reset(ff::av_audio_fifo_alloc(encoder.sample_fmt, encoder.ch_layout.nb_channels,
                                            encoder.frame_size));
        FAudioFrame.reset(ff::av_frame_alloc());
    }

    void DecodeVideo(const AVPacket* packet) {
        Check(ff::avcodec_send_packet(FVideoDecoder.get(), packet) >= 0 || !packet, "video decoding");
        while (ff::avcodec_receive_frame(FVideoDecoder.get(), FDecodedFrame.get()) >= 0) {
            AVFrame* picture = Scaled(*FDecodedFrame);
            const AVRational inputBase = FInput->streams[FVideoIndex]->time_base;
            picture->pts = ff::av_rescale_q(FDecodedFrame->best_effort_timestamp, inputBase,
                                            FVideoEncoder->time_base);
            picture->pict_type = AV_PICTURE_TYPE_NONE;
            Encode(*FVideoEncoder, picture, *FVideoStream);
            ff::av_frame_unref(FDecodedFrame.get());
        }
    }

    // The decoded picture itself when the encoder takes it as it is.
    AVFrame* Scaled(AVFrame& decoded) {
        const AVCodecContext& encoder = *FVideoEncoder;
        if (decoded.format == encoder.pix_fmt && decoded.width == encoder.width &&
            decoded.height == encoder.height)
            return &decoded;
        FScaler.reset(ff::sws_getCachedContext(
                FScaler.release(), decoded.width, decoded.height, static_cast<AVPixelFormat>(decoded.format),
                encoder.width, encoder.height, encoder.pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
        Check(FScaler != nullptr, "scaler");
        if (!FScaledFrame->data[0]) {
            FScaledFrame->format = encoder.pix_fmt;
            FScaledFrame->width = encoder.width;
            FScaledFrame->height = encoder.height;
            Check(ff::av_frame_get_buffer(FScaledFrame.get(), 0) >= 0, "picture");
        }
        Check(ff::av_frame_make_writable(FScaledFrame.get()) >= 0, "picture");
        ff::sws_scale(FScaler.get(), decoded.data, decoded.linesize, 0, decoded.height, FScaledFrame->data,
                      FScaledFrame->linesize);
        return FScaledFrame.get();
    }

    void DecodeAudio(const AVPacket* packet) {
        Check(ff::avcodec_send_packet(FAudioDecoder.get(), packet) >= 0 || !packet, "audio decoding");
        while (ff::avcodec_receive_frame(FAudioDecoder.get(), FDecodedFrame.get()) >= 0) {
            Check(ff::av_audio_fifo_write(FFifo.get(), reinterpret_cast<void**>(FDecodedFrame->extended_data),
                                          FDecodedFrame->nb_samples) >= 0,
                  "fifo");
            ff::av_frame_unref(FDecodedFrame.get());
            EncodeAudioFifo(false);
        }
    }

    void EncodeAudioFifo(bool last) {
        const int frameSize = FAudioEncoder->frame_size;
        while (ff::av_audio_fifo_size(FFifo.get()) >= frameSize ||
               (last && ff::av_audio_fifo_size(FFifo.get()) > 0)) {
            const int samples = std::min(frameSize, ff::av_audio_fifo_size(FFifo.get()));
            AVFrame& frame = *FAudioFrame;
            if (frame.nb_samples != frameSize || !frame.data[0]) {
                ff::av_frame_unref(&frame);
                frame.format = FAudioEncoder->sample_fmt;
                frame.nb_samples = frameSize;
                Check(ff::av_channel_layout_copy(&frame.ch_layout, &FAudioEncoder->ch_layout) >= 0, "layout");
                Check(ff::av_frame_get_buffer(&frame, 0) >= 0, "samples");
            }
            Check(ff::av_frame_make_writable(&frame) >= 0, "samples");
            frame.nb_samples = samples;
            Check(ff::av_audio_fifo_read(FFifo.get(), reinterpret_cast<void**>(frame.data), samples) ==
                          samples,
                  "fifo");
            frame.pts = FAudioSamples;
            FAudioSamples += samples;
            Encode(*FAudioEncoder, &frame, *FAudioStream);
            frame.nb_samples = frameSize;
        }
    }

    void Encode(AVCodecContext& encoder, const AVFrame* frame, AVStream& stream) {
        Check(ff::avcodec_send_frame(&encoder, frame) >= 0 || !frame, "encoding");
        while (ff::avcodec_receive_packet(&encoder, FPacket.get()) >= 0) {
            FPacket->stream_index = stream.index;
            ff::av_packet_rescale_ts(FPacket.get(), encoder.time_base, stream.time_base);
            Check(ff::av_interleaved_write_frame(FOutput.get(), FPacket.get()) >= 0, "write");
        }
    }

    InputFormatPtr FInput;
    FormatContextPtr FOutput;
    int FVideoIndex = -1;
    int FAudioIndex = -1;
    CodecContextPtr FVideoDecoder, FVideoEncoder, FAudioDecoder, FAudioEncoder;
    AVStream* FVideoStream = nullptr;
    AVStream* FAudioStream = nullptr;
    FramePtr FDecodedFrame, FScaledFrame, FAudioFrame;
    ScalerPtr FScaler;
    AudioFifoPtr FFifo;
    int64_t FAudioSamples = 0;
    PacketPtr FPacket{ff::av_packet_alloc()};
};

double MinimalSeconds(const std::string& output) {
    const auto start = std::chrono::steady_clock::now();
    TMinimalTranscode(SourceClip(), output).Run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The settings line libx264 writes into its stream.
std::string X264Settings(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t start = bytes.find("x264 - core");
    if (start == std::string::npos) return {};
    return bytes.substr(start, bytes.find('\0', start) - start);
}

void BM_ComponentOverMinimalLoop(benchmark::State& state) {
    PrepareEngine();
    const std::string folder = ScratchDir("transcode-overhead");
    double component = 0, minimal = 0;
    for (auto _ : state) {
        minimal += MinimalSeconds(folder + "/minimal.mp4");
        component += RunConversions(1, 0, false, folder);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["component_s"] = component / iterations;
    state.counters["minimal_s"] = minimal / iterations;
    state.counters["component_over_minimal"] = component / minimal;
    const std::string componentSettings = X264Settings(folder + "/out0.mp4");
    const std::string minimalSettings = X264Settings(folder + "/minimal.mp4");
    state.counters["same_x264_settings"] = !componentSettings.empty() && componentSettings == minimalSettings;
    if (componentSettings != minimalSettings)
        state.SetLabel("component: " + componentSettings + " | minimal: " + minimalSettings);
}

BENCHMARK(BM_ComponentOverMinimalLoop)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

}  // namespace
