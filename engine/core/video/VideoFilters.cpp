// The video filter chain ("vfilters") of an output stream: a graph from a buffer source that
// takes the decoded pictures to a buffer sink limited to the encoder's pixel format. Pictures
// go in with their input time (microseconds) and each picture that comes out is encoded at the
// time it carries.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/run/RunTables.h"
#include "engine/frame/Text.h"

#include <string>

namespace kestrova {

namespace {

// An open end of the chain text: `name` stands for pad 0 of `filter`.
FilterInOutPtr ChainEnd(const char* name, AVFilterContext* filter) {
    FilterInOutPtr end(ff::avfilter_inout_alloc());
    if (!end) return end;
    end->name = ff::av_strdup(name);
    end->filter_ctx = filter;
    end->pad_idx = 0;
    end->next = nullptr;
    if (!end->name) end.reset();
    return end;
}

AVRational InputFrameRate(const InputStreamState& ist) {
    for (AVRational rate : {ist.Decoder->framerate, ist.Stream->avg_frame_rate, ist.Stream->r_frame_rate})
        if (rate.num > 0 && rate.den > 0) return rate;
    return AVRational{0, 1};
}

FramePtr EncoderSizedPicture(const AVCodecContext& encoder) {
    FramePtr picture(ff::av_frame_alloc());
    if (!picture) return picture;
    picture->format = encoder.pix_fmt;
    picture->width = encoder.width;
    picture->height = encoder.height;
    if (ff::av_frame_get_buffer(picture.get(), 0) < 0) picture.reset();
    return picture;
}

}  // namespace

int TCustomFFmpeg::ConfigureFilters(InputStreamState& ist, OutputStreamState& ost) {
    if (ost.Video.CropBands.Any()) {
        FLastError = "Cannot enable crop options and filters at the same time.";
        return -1;
    }
    const AVCodecContext& decoder = *ist.Decoder;
    return BuildFilterGraph(ist, ost, decoder.width, decoder.height, decoder.pix_fmt, false);
}

int TCustomFFmpeg::BuildFilterGraph(InputStreamState& ist, OutputStreamState& ost, int width, int height,
                                    int format, bool rebuild) {
    TVideoOutState& video = ost.Video;
    const AVCodecContext& decoder = *ist.Decoder;
    AVCodecContext& encoder = *ost.Output->Codec;
    const char* encoderFormat = ff::av_get_pix_fmt_name(encoder.pix_fmt);
    if (!encoderFormat) return -1;

    FilterGraphPtr graph(ff::avfilter_graph_alloc());
    if (!graph) return -1;
    const AVRational aspect =
            decoder.sample_aspect_ratio.num > 0 ? decoder.sample_aspect_ratio : AVRational{0, 1};
    std::string sourceArgs = FormatText("video_size=%dx%d:pix_fmt=%d:time_base=1/1000000:pixel_aspect=%d/%d",
                                        width, height, format, aspect.num, aspect.den);
    // Filters that make pictures of their own (frame rate, padding in time) need the rate.
    const AVRational rate = InputFrameRate(ist);
    if (rate.num > 0) sourceArgs += FormatText(":frame_rate=%d/%d", rate.num, rate.den);
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    if (ff::avfilter_graph_create_filter(&source, ff::avfilter_get_by_name("buffer"), "src",
                                         sourceArgs.c_str(), nullptr, graph.get()) < 0 ||
        ff::avfilter_graph_create_filter(&sink, ff::avfilter_get_by_name("buffersink"), "out", nullptr,
                                         nullptr, graph.get()) < 0)
        return -1;

    const int scalerFlags = FOptions.ScalerFlags();
    const int padWidth = video.PadBands.Width();
    const int padHeight = video.PadBands.Height();
    const int unpaddedWidth = encoder.width - padWidth;
    const int unpaddedHeight = encoder.height - padHeight;
    // The chain: a scale to the encoder's size first when the sizes differ, then the user's
    // filters, then the encoder's pixel format.
    std::string chain;
    if (width + padWidth != encoder.width || height + padHeight != encoder.height)
        chain = FormatText("scale=%d:%d:flags=%d,", unpaddedWidth, unpaddedHeight, scalerFlags);
    // The pending filter chain, read here on purpose: the chain last set, for every video stream.
    chain += FVideo.Filters.empty() ? std::string("null") : FVideo.Filters;
    chain += std::string(",format=pix_fmts=") + encoderFormat;

    graph->scale_sws_opts = ff::av_strdup(FormatText("flags=%d", scalerFlags).c_str());
    FilterInOutPtr outputs = ChainEnd("in", source);
    FilterInOutPtr inputs = ChainEnd("out", sink);
    if (!outputs || !inputs || !graph->scale_sws_opts) return -1;
    AVFilterInOut* openInputs = inputs.release();
    AVFilterInOut* openOutputs = outputs.release();
    const int parsed =
            ff::avfilter_graph_parse_ptr(graph.get(), chain.c_str(), &openInputs, &openOutputs, nullptr);
    inputs.reset(openInputs);  // whatever the parser left open is freed with these
    outputs.reset(openOutputs);
    if (parsed < 0 || ff::avfilter_graph_config(graph.get(), nullptr) < 0) return -1;

    // The chain in use from now on, with the pictures it was made for.
    const auto keepChain = [&] {
        video.FilterGraph = std::move(graph);
        video.FilterSource = source;
        video.FilterSink = sink;
        video.FilterWidth = width;
        video.FilterHeight = height;
        video.FilterPixelFormat = format;
        return 0;
    };
    const int sinkWidth = ff::av_buffersink_get_w(sink);
    const int sinkHeight = ff::av_buffersink_get_h(sink);
    if (rebuild) {
        // The encoder is open: the new chain must give the size it takes.
        if (sinkWidth != unpaddedWidth || sinkHeight != unpaddedHeight) return -1;
        return keepChain();
    }
    if (video.Pad && (sinkWidth != unpaddedWidth || sinkHeight != unpaddedHeight)) {
        FLastError = "Cannot enable pad options and the filters which resize frame at the same time. "
                     "(crop, rotate, scale, transpose, etc.)";
        return -1;
    }
    encoder.width = sinkWidth + padWidth;
    encoder.height = sinkHeight + padHeight;
    if (video.Pad) {
        video.TempPicture = EncoderSizedPicture(encoder);
        if (!video.TempPicture) return -1;
    }
    video.FilteredPicture.reset(ff::av_frame_alloc());
    if (!video.FilteredPicture) return -1;
    return keepChain();
}

// A decoded picture of another size or format than the chain's source was made for: the same
// rule as without a chain (logged; refused by a stream that does not scale). The old chain gives
// up what it holds and a new one is made for the new pictures.
void TCustomFFmpeg::FollowFilteredPictureSize(OutputStreamState& ost, InputStreamState& ist,
                                              const AVFrame& picture) {
    TVideoOutState& video = ost.Video;
    if (picture.width == video.FilterWidth && picture.height == video.FilterHeight &&
        picture.format == video.FilterPixelFormat)
        return;
    AcceptPictureSizeChange(ost, ist, picture);
    if (ff::av_buffersrc_add_frame_flags(video.FilterSource, nullptr, 0) >= 0) DrainVideoFilters(ost, ist);
    if (BuildFilterGraph(ist, ost, picture.width, picture.height, picture.format, true) < 0)
        throw FFmpegException(FormatText(
                "Input Stream #%d.%d frame size changed to %dx%d: the filters of the "
                "output stream #%d.%d cannot take the new size",
                ist.FileIndex, ist.StreamIndex, picture.width, picture.height, ost.FileIndex, ost.Index));
}

// Feeds the picture to the stream's graph and encodes every picture the graph gives back.
int TCustomFFmpeg::FilterVideoOut(OutputStreamState& ost, InputStreamState& ist, AVFrame& picture) {
    FollowFilteredPictureSize(ost, ist, picture);
    // The graph counts in microseconds of the input; the decoded picture keeps its own time.
    const int64_t decodedPts = picture.pts;
    picture.pts = ist.Pts;
    const int fed =
            ff::av_buffersrc_add_frame_flags(ost.Video.FilterSource, &picture, AV_BUFFERSRC_FLAG_KEEP_REF);
    picture.pts = decodedPts;
    if (fed < 0) throw FFmpegException("Error while filtering video");
    return DrainVideoFilters(ost, ist);
}

// Encodes every picture the stream's graph has ready.
int TCustomFFmpeg::DrainVideoFilters(OutputStreamState& ost, InputStreamState& ist) {
    AVFrame* filtered = ost.Video.FilteredPicture.get();
    const AVRational sinkTimeBase = ff::av_buffersink_get_time_base(ost.Video.FilterSink);
    int written = 0;
    for (;;) {
        const int received = ff::av_buffersink_get_frame(ost.Video.FilterSink, filtered);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) break;
        if (received < 0) throw FFmpegException("Error while filtering video");
        // The chain may have a clock of its own (a rate or time base filter): its sink says which.
        const int64_t time = filtered->pts != AV_NOPTS_VALUE
                                     ? ff::av_rescale_q(filtered->pts, sinkTimeBase, kMicroseconds)
                                     : ist.Pts;
        written += VideoOutAt(ost, ist, *filtered, time);
        ff::av_frame_unref(filtered);
    }
    return written;
}

// The end of the stream: filters that hold pictures back (frame rate, padding in time) give
// them up, then the encoder is drained.
void TCustomFFmpeg::FlushVideoOut(OutputStreamState& ost, InputStreamState& ist) {
    if (ost.Video.FilterGraph && ff::av_buffersrc_add_frame_flags(ost.Video.FilterSource, nullptr, 0) >= 0)
        DrainVideoFilters(ost, ist);
    WriteEncodedPackets(ost, nullptr);
}

}  // namespace kestrova
