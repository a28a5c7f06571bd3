// Writing packets: through the stream's bitstream filters into the interleaving muxer.
//
// A stream's filters are initialised at its first packet (PrepareBitstreamFilters): only then
// are its parameters final, as the run fills them in after opening the encoder or, for stream
// copy, from the input stream, and the muxer may adjust the time base when it writes the
// header. A filter that fails to initialise is reported like a failed packet and then passes
// packets on unchanged.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/outputs/WriteErrors.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/InputErrors.h"

namespace kestrova {

namespace {

std::string CodecNameOf(const TOutputStream& stream) {
    if (stream.StreamCopy || !stream.Codec) return "copy";
    if (stream.Codec->codec) return stream.Codec->codec->name;
    if (stream.Encoder) return stream.Encoder->name;
    return ff::avcodec_get_name(stream.Codec->codec_id);
}

// Sets up one filter after `previous` (or after the stream when null); a negative AVERROR on
// failure.
int InitFilter(AVBSFContext& filter, const std::string& arguments, const AVStream& stream,
               const AVBSFContext* previous) {
    const AVCodecParameters* parameters = previous ? previous->par_out : stream.codecpar;
    int result = ff::avcodec_parameters_copy(filter.par_in, parameters);
    if (result < 0) return result;
    filter.time_base_in = previous ? previous->time_base_out : stream.time_base;
    if (!arguments.empty() && filter.priv_data) {
        result = ff::av_set_options_string(filter.priv_data, arguments.c_str(), "=", ":");
        if (result < 0) return result;
    }
    return ff::av_bsf_init(&filter);
}

}  // namespace

void TCustomFFmpeg::ReportBitstreamFilterError(const TBitstreamFilter& filter, const TOutputStream& stream,
                                               int error) {
    const char* filterName = filter.Context && filter.Context->filter ? filter.Context->filter->name : "?";
    const std::string subject = std::string(filterName) + " failed for stream " +
                                std::to_string(stream.Stream ? stream.Stream->index : -1) + ", codec " +
                                CodecNameOf(stream);
    const std::string message = InputErrorMessage(subject, ClassifyOpenError({error}));
    if (FRun.ExitOnError) throw FFmpegException(message);
    TFFLogger::Instance().Log(this, llError, message);
}

void TCustomFFmpeg::PrepareBitstreamFilters(TOutputStream& stream) {
    if (stream.BitstreamFiltersReady) return;
    stream.BitstreamFiltersReady = true;
    stream.FilteredPackets.clear();
    const AVBSFContext* previous = nullptr;
    for (TBitstreamFilter& filter : stream.BitstreamFilters) {
        stream.FilteredPackets.emplace_back(ff::av_packet_alloc());
        if (!stream.FilteredPackets.back()) throw FFmpegException("av_packet_alloc failed");
        const int result = InitFilter(*filter.Context, filter.Arguments, *stream.Stream, previous);
        if (result < 0) {
            ReportBitstreamFilterError(filter, stream, result);
            filter.Context.reset();  // passes packets on unchanged from now on
            continue;
        }
        previous = filter.Context.get();
    }
}

void TCustomFFmpeg::WritePacket(TOutputFile& file, TOutputStream& stream, AVPacket* packet) {
    PrepareBitstreamFilters(stream);
    FilterAndWrite(file, stream, 0, packet);
}

// Hands `packet` (or the end of the stream when null) to filter number `index` and what comes
// out of it on to the next filters; past the last filter, to the muxer.
void TCustomFFmpeg::FilterAndWrite(TOutputFile& file, TOutputStream& stream, std::size_t index,
                                   AVPacket* packet) {
    while (index < stream.BitstreamFilters.size() && !stream.BitstreamFilters[index].Context) ++index;
    if (index == stream.BitstreamFilters.size()) {
        if (packet) WriteInterleaved(file, stream, packet);
        return;
    }
    const TBitstreamFilter& filter = stream.BitstreamFilters[index];
    const int sent = ff::av_bsf_send_packet(filter.Context.get(), packet);
    if (sent < 0) {
        // The packet is still ours: it goes on as it was.
        ReportBitstreamFilterError(filter, stream, sent);
        FilterAndWrite(file, stream, index + 1, packet);
        return;
    }
    AVPacket* filtered = stream.FilteredPackets[index].get();
    int received = 0;
    while ((received = ff::av_bsf_receive_packet(filter.Context.get(), filtered)) == 0) {
        FilterAndWrite(file, stream, index + 1, filtered);
        ff::av_packet_unref(filtered);
    }
    if (received != AVERROR(EAGAIN) && received != AVERROR_EOF)
        ReportBitstreamFilterError(filter, stream, received);
    // At the end of the stream the following filters are drained as well.
    if (!packet) FilterAndWrite(file, stream, index + 1, nullptr);
}

void TCustomFFmpeg::FlushBitstreamFilters(TOutputFile& file, TOutputStream& stream) {
    PrepareBitstreamFilters(stream);
    FilterAndWrite(file, stream, 0, nullptr);
}

void TCustomFFmpeg::WriteInterleaved(TOutputFile& file, TOutputStream& stream, AVPacket* packet) {
    packet->stream_index = stream.Stream->index;
    // A filter may have changed the time base the timestamps count in.
    const AVBSFContext* last = nullptr;
    for (const TBitstreamFilter& filter : stream.BitstreamFilters)
        if (filter.Context) last = filter.Context.get();
    if (last && av_cmp_q(last->time_base_out, stream.Stream->time_base) != 0)
        ff::av_packet_rescale_ts(packet, last->time_base_out, stream.Stream->time_base);
    const int result = ff::av_interleaved_write_frame(file.Context.get(), packet);
    if (result < 0 && !(file.Context->pb && file.Context->pb->error < 0))
        throw FFmpegException(InputErrorMessage("av_interleaved_write_frame()", ClassifyOpenError({result})));
    // A write the system refused, now or in an earlier buffered write, ends the run at once.
    if (const int error = OutputWriteError(*file.Context, result); error < 0)
        throw FFmpegException(WriteFailureText("av_interleaved_write_frame()", error));
    ++stream.PacketsWritten;
}

}  // namespace kestrova
