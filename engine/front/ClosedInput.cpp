#include "engine/front/ClosedInput.h"

#include "engine/core/FFmpegException.h"

#include <cstring>

namespace kestrova {

namespace {

void CopyDictionary(AVDictionary*& target, const AVDictionary* source) {
    if (source && ff::av_dict_copy(&target, source, 0) < 0) throw FFmpegException("av_dict_copy failed");
}

void CopyStream(AVFormatContext& context, const AVStream& source) {
    AVStream* stream = ff::avformat_new_stream(&context, nullptr);
    if (!stream || ff::avcodec_parameters_copy(stream->codecpar, source.codecpar) < 0)
        throw FFmpegException("avformat_new_stream failed");
    stream->id = source.id;
    stream->time_base = source.time_base;
    stream->start_time = source.start_time;
    stream->duration = source.duration;
    stream->nb_frames = source.nb_frames;
    stream->disposition = source.disposition;
    stream->discard = source.discard;
    stream->sample_aspect_ratio = source.sample_aspect_ratio;
    stream->avg_frame_rate = source.avg_frame_rate;
    stream->r_frame_rate = source.r_frame_rate;
    stream->pts_wrap_bits = source.pts_wrap_bits;
    CopyDictionary(stream->metadata, source.metadata);
}

// Programs are made as the library makes them (one zeroed block each, freed with the context).
void CopyPrograms(AVFormatContext& context, const AVFormatContext& source) {
    if (source.nb_programs == 0) return;
    context.programs = static_cast<AVProgram**>(ff::av_mallocz(sizeof(AVProgram*) * source.nb_programs));
    if (!context.programs) throw FFmpegException("av_mallocz failed");
    for (unsigned i = 0; i < source.nb_programs; ++i) {
        const AVProgram& from = *source.programs[i];
        auto* program = static_cast<AVProgram*>(ff::av_mallocz(sizeof(AVProgram)));
        if (!program) throw FFmpegException("av_mallocz failed");
        context.programs[context.nb_programs++] = program;
        *program = from;
        program->stream_index = nullptr;
        program->nb_stream_indexes = 0;
        program->metadata = nullptr;
        CopyDictionary(program->metadata, from.metadata);
        if (from.nb_stream_indexes == 0) continue;
        const std::size_t bytes = sizeof(unsigned) * from.nb_stream_indexes;
        program->stream_index = static_cast<unsigned*>(ff::av_malloc(bytes));
        if (!program->stream_index) throw FFmpegException("av_malloc failed");
        std::memcpy(program->stream_index, from.stream_index, bytes);
        program->nb_stream_indexes = from.nb_stream_indexes;
    }
}

}  // namespace

TClosedInput::TClosedInput(const AVFormatContext& input) {
    // Only the public description: no demuxer function and no private options, so freeing the
    // context calls nothing of the demuxer's.
    if (const AVInputFormat* format = input.iformat) {
        FFormat.name = format->name;
        FFormat.long_name = format->long_name;
        FFormat.flags = format->flags;
        FFormat.extensions = format->extensions;
        FFormat.codec_tag = format->codec_tag;
        FFormat.mime_type = format->mime_type;
    }
    FContext.reset(ff::avformat_alloc_context());
    if (!FContext) throw FFmpegException("avformat_alloc_context failed");
    AVFormatContext& context = *FContext;
    if (input.url && !(context.url = ff::av_strdup(input.url))) throw FFmpegException("av_strdup failed");
    context.ctx_flags = input.ctx_flags;
    context.flags = input.flags & ~AVFMT_FLAG_CUSTOM_IO;  // no I/O of its own
    context.start_time = input.start_time;
    context.duration = input.duration;
    context.bit_rate = input.bit_rate;
    context.start_time_realtime = input.start_time_realtime;
    CopyDictionary(context.metadata, input.metadata);
    for (unsigned i = 0; i < input.nb_streams; ++i) CopyStream(context, *input.streams[i]);
    CopyPrograms(context, input);
    if (input.iformat) context.iformat = &FFormat;
}

TClosedInput::~TClosedInput() = default;

InputFilePtr TClosedInput::TakeContext() {
    return std::move(FContext);
}

bool TClosedInput::SameStreams(const AVFormatContext& described, const AVFormatContext& reopened) {
    if (described.nb_streams != reopened.nb_streams || described.duration != reopened.duration) return false;
    for (unsigned i = 0; i < described.nb_streams; ++i) {
        const AVCodecParameters& was = *described.streams[i]->codecpar;
        const AVCodecParameters& is = *reopened.streams[i]->codecpar;
        if (was.codec_type != is.codec_type || was.codec_id != is.codec_id || was.width != is.width ||
            was.height != is.height || was.sample_rate != is.sample_rate ||
            was.ch_layout.nb_channels != is.ch_layout.nb_channels)
            return false;
    }
    return true;
}

}  // namespace kestrova
