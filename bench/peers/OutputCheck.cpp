#include "bench/peers/OutputCheck.h"

#include "engine/frame/LibBindings.h"
#include "engine/frame/LibPtr.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kestrova::bench {

namespace {

// Fields of x264's line that say how many threads it ran, not how it encodes.
bool IsThreadField(const std::string& name) {
    return name == "threads" || name == "lookahead_threads";
}

struct TStreamSummary {
    std::string Codec;
    int Width = 0, Height = 0;
    int SampleRate = 0, Channels = 0;
    int64_t BitRate = 0;
    int64_t Packets = 0;
};

std::vector<TStreamSummary> ReadStreams(const std::string& file) {
    AVFormatContext* raw = nullptr;
    if (ff::avformat_open_input(&raw, file.c_str(), nullptr, nullptr) < 0) return {};
    InputFormatPtr input(raw);
    if (ff::avformat_find_stream_info(raw, nullptr) < 0) return {};
    std::vector<TStreamSummary> streams;
    for (unsigned i = 0; i < raw->nb_streams; ++i) {
        const AVCodecParameters& parameters = *raw->streams[i]->codecpar;
        streams.push_back({ff::avcodec_get_name(parameters.codec_id), parameters.width, parameters.height,
                           parameters.sample_rate, parameters.ch_layout.nb_channels, parameters.bit_rate, 0});
    }
    PacketPtr packet(ff::av_packet_alloc());
    while (ff::av_read_frame(raw, packet.get()) >= 0) {
        ++streams[static_cast<std::size_t>(packet->stream_index)].Packets;
        ff::av_packet_unref(packet.get());
    }
    return streams;
}

// Within `tolerance` of the reference (a fraction of it): audio encoders that aim at a bit rate
// land a little beside it, and a converter may add or drop a picture at the end.
bool Near(int64_t reference, int64_t other, double tolerance) {
    return std::llabs(reference - other) <= static_cast<int64_t>(std::llround(tolerance * reference));
}

void CompareStreams(const std::string& reference, const std::string& other,
                    std::vector<std::string>& differences) {
    const std::vector<TStreamSummary> ours = ReadStreams(reference), theirs = ReadStreams(other);
    if (ours.empty() || theirs.empty() || ours.size() != theirs.size()) {
        differences.push_back("stream count " + std::to_string(ours.size()) + " against " +
                              std::to_string(theirs.size()));
        return;
    }
    // A converter may order the streams otherwise: match them by codec.
    for (const TStreamSummary& stream : ours) {
        const TStreamSummary* match = nullptr;
        for (const TStreamSummary& candidate : theirs)
            if (candidate.Codec == stream.Codec) match = &candidate;
        if (!match) {
            differences.push_back("no " + stream.Codec + " stream");
            continue;
        }
        const auto differ = [&](const std::string& what, const std::string& a, const std::string& b) {
            differences.push_back(stream.Codec + " " + what + " " + a + " against " + b);
        };
        const auto number = [](int64_t value) { return std::to_string(value); };
        if (stream.Width != match->Width || stream.Height != match->Height)
            differ("picture", number(stream.Width) + "x" + number(stream.Height),
                   number(match->Width) + "x" + number(match->Height));
        if (stream.SampleRate != match->SampleRate)
            differ("sample rate", number(stream.SampleRate), number(match->SampleRate));
        if (stream.Channels != match->Channels)
            differ("channels", number(stream.Channels), number(match->Channels));
        if (stream.SampleRate > 0 && !Near(stream.BitRate, match->BitRate, 0.05))
            differ("bit rate", number(stream.BitRate), number(match->BitRate));
        if (!Near(stream.Packets, match->Packets, 0.01))
            differ("packets", number(stream.Packets), number(match->Packets));
    }
}

}  // namespace

std::map<std::string, std::string> X264Settings(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t line = bytes.find("x264 - core");
    const std::size_t options = bytes.find(" - options: ", line);
    if (line == std::string::npos || options == std::string::npos) return {};
    const std::size_t begin = options + 12;
    const std::size_t end = bytes.find('\0', begin);
    std::stringstream fields(bytes.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
    std::map<std::string, std::string> settings;
    for (std::string field; fields >> field;) {
        const std::size_t equals = field.find('=');
        if (equals != std::string::npos) settings[field.substr(0, equals)] = field.substr(equals + 1);
    }
    return settings;
}

std::vector<std::string> OutputDifferences(const std::string& reference, const std::string& other) {
    std::vector<std::string> differences;
    std::map<std::string, std::string> ours = X264Settings(reference), theirs = X264Settings(other);
    for (auto* settings : {&ours, &theirs})
        std::erase_if(*settings, [](const auto& field) { return IsThreadField(field.first); });
    if (ours.empty() != theirs.empty()) {
        differences.push_back(std::string("x264 settings line only in ") +
                              (ours.empty() ? "the peer's" : "Kestrova's") + " output");
    } else {
        for (const auto& [name, value] : ours) {
            const auto found = theirs.find(name);
            if (found == theirs.end() || found->second != value)
                differences.push_back("x264 " + name + "=" + value + " against " +
                                      (found == theirs.end() ? "nothing" : found->second));
        }
        for (const auto& [name, value] : theirs)
            if (!ours.contains(name)) differences.push_back("x264 nothing against " + name + "=" + value);
    }
    CompareStreams(reference, other, differences);
    return differences;
}

}  // namespace kestrova::bench
