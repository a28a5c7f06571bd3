// TCustomAVProbe: the file-level and per-stream information of the open input.
#include "engine/frame/AVProbe.h"
#include "engine/frame/Text.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace kestrova {

namespace {

std::string MetadataValue(const AVDictionary* metadata, const char* key) {
    const AVDictionaryEntry* entry = ff::av_dict_get(metadata, key, nullptr, 0);
    return entry && entry->value ? entry->value : "";
}

int32_t LeadingNumber(const std::string& text) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return -1;
    return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

int32_t ClampedRate(int64_t rate) {
    if (rate <= 0) return -1;
    return rate > INT32_MAX ? INT32_MAX : static_cast<int32_t>(rate);
}

// The decoder's names; for an unknown decoder the codec's own name or its tag.
std::string CodecNameOf(const AVCodecParameters& par) {
    if (const AVCodec* decoder = ff::avcodec_find_decoder(par.codec_id)) {
        const std::string longName = Trimmed(decoder->long_name ? decoder->long_name : "");
        if (longName.empty()) return decoder->name;
        return FormatText("%s(%s)", decoder->name, longName.c_str());
    }
    if (par.codec_id == AV_CODEC_ID_MPEG2TS) return "mpeg2ts";
    if (const AVCodecDescriptor* descriptor = ff::avcodec_descriptor_get(par.codec_id)) {
        const std::string name = Trimmed(descriptor->name ? descriptor->name : "");
        if (!name.empty()) return name;
    }
    const unsigned tag = par.codec_tag;
    bool printable = true;
    for (int shift = 0; shift < 32; shift += 8) {
        const unsigned byte = (tag >> shift) & 0xFF;
        printable = printable && byte >= 32 && byte <= 126;
    }
    if (printable)
        return FormatText("%c%c%c%c / 0x%04X", tag & 0xFF, (tag >> 8) & 0xFF, (tag >> 16) & 0xFF,
                          (tag >> 24) & 0xFF, tag);
    return FormatText("0x%04x", tag);
}

// A zero denominator would make every conversion divide by zero.
AVRational UsableTimeBase(AVRational base) {
    if (base.den != 0) return base;
    return base.num != 0 ? AVRational{base.num, base.num} : AVRational{1, 1};
}

// Start time and duration, raw and in microseconds; the stream's common facts.
template <class TInfo>
void FillCommon(TInfo& info, const AVStream& stream) {
    info.Language = MetadataValue(stream.metadata, "language");
    info.CodecName = CodecNameOf(*stream.codecpar);
    const AVRational base = UsableTimeBase(stream.time_base);
    const auto convert = [&](int64_t value, int64_t& raw, int64_t& micro) {
        if (value == AV_NOPTS_VALUE) return;
        raw = value;
        micro = ff::av_rescale_q(value, base, AVRational{1, AV_TIME_BASE});
    };
    convert(stream.start_time, info.StartTime, info.StartTimeUS);
    convert(stream.duration, info.Duration, info.DurationUS);
    info.BitRate = ClampedRate(stream.codecpar->bit_rate);
}

}  // namespace

AVStream* TCustomAVProbe::StreamOfKind(int index, AVMediaType kind) {
    const bool audio = kind == AVMEDIA_TYPE_AUDIO;
    if (index < 0) {
        index = audio ? FFirstAudioStreamIndex : FFirstVideoStreamIndex;
        if (index < 0) {
            LogError(AV_LOG_ERROR, audio ? "no audio stream." : "no video stream.");
            return nullptr;
        }
    }
    if (index >= FStreamCount) {
        LogError(AV_LOG_ERROR, FormatText("stream index #%d is invalid.", index));
        return nullptr;
    }
    AVStream* stream = FContext->streams[index];
    if (stream->codecpar->codec_type != kind) {
        LogError(AV_LOG_ERROR,
                 FormatText(audio ? "stream #%d is not audio stream." : "stream #%d is not video stream.",
                            index));
        return nullptr;
    }
    return stream;
}

TFileStreamInfo TCustomAVProbe::GetFileStreamInfo() {
    TFileStreamInfo info;
    if (!RequireFile()) return info;
    const AVFormatContext& context = *FContext;
    if (context.start_time != AV_NOPTS_VALUE) info.StartTime = context.start_time;
    if (context.duration != AV_NOPTS_VALUE) info.Duration = context.duration;
    info.BitRate = ClampedRate(context.bit_rate);

    const AVDictionary* metadata = context.metadata;
    const std::string created = MetadataValue(metadata, "creation_time");
    int64_t createdMicro = 0;
    if (!created.empty() && ff::av_parse_time(&createdMicro, created.c_str(), 0) >= 0)
        info.Timestamp = createdMicro / AV_TIME_BASE;
    info.Year = LeadingNumber(MetadataValue(metadata, "year"));
    if (info.Year < 0) info.Year = LeadingNumber(MetadataValue(metadata, "date"));
    info.Track = LeadingNumber(MetadataValue(metadata, "track"));
    info.Title = MetadataValue(metadata, "title");
    info.Author = MetadataValue(metadata, "author");
    if (info.Author.empty()) info.Author = MetadataValue(metadata, "artist");  // today's key
    info.Copyright = MetadataValue(metadata, "copyright");
    info.Comment = MetadataValue(metadata, "comment");
    info.Album = MetadataValue(metadata, "album");
    info.Genre = MetadataValue(metadata, "genre");
    return info;
}

TAudioStreamInfo TCustomAVProbe::GetAudioStreamInfo(int index) {
    TAudioStreamInfo info;
    if (!RequireFile()) return info;
    const AVStream* stream = StreamOfKind(index, AVMEDIA_TYPE_AUDIO);
    if (!stream) return info;
    FillCommon(info, *stream);
    const AVCodecParameters& par = *stream->codecpar;
    if (par.ch_layout.nb_channels > 0) info.Channels = par.ch_layout.nb_channels;
    if (par.sample_rate > 0) info.SampleRate = par.sample_rate;
    if (par.format >= 0) info.SampleFormat = par.format;
    return info;
}

TVideoStreamInfo TCustomAVProbe::GetVideoStreamInfo(int index) {
    TVideoStreamInfo info;
    if (!RequireFile()) return info;
    const AVStream* stream = StreamOfKind(index, AVMEDIA_TYPE_VIDEO);
    if (!stream) return info;
    FillCommon(info, *stream);
    const AVCodecParameters& par = *stream->codecpar;
    if (par.width > 0) info.Width = par.width;
    if (par.height > 0) info.Height = par.height;
    // The display aspect is known only when the stream or its codec gives a sample aspect.
    const AVRational sar =
            stream->sample_aspect_ratio.num > 0 ? stream->sample_aspect_ratio : par.sample_aspect_ratio;
    if (par.width > 0 && par.height > 0 && sar.num > 0 && sar.den > 0)
        info.AspectRatio = static_cast<float>(static_cast<double>(sar.num) * par.width /
                                              (static_cast<double>(sar.den) * par.height));
    if (par.format >= 0) info.PixelFormat = par.format;
    if (stream->r_frame_rate.num > 0 && stream->r_frame_rate.den > 0) {
        info.FrameRateNum = stream->r_frame_rate.num;
        info.FrameRateDen = stream->r_frame_rate.den;
    }
    return info;
}

}  // namespace kestrova
