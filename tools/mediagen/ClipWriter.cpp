#include "tools/mediagen/ClipWriter.h"

#include "tools/mediagen/AudioTrack.h"
#include "tools/mediagen/FormatTable.h"
#include "tools/mediagen/LibSupport.h"
#include "tools/mediagen/VideoTrack.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace kestrova::mediagen {

namespace {

OutputContextPtr OpenMuxer(const FormatProfile& profile, const std::string& path) {
    AVFormatContext* raw = nullptr;
    CheckLib(avformat_alloc_output_context2(&raw, nullptr, profile.muxer, path.c_str()),
             std::string("could not set up the muxer ") + profile.muxer);
    OutputContextPtr muxer(raw);
    // No creation times, library versions or other variable data in the file.
    muxer->flags |= AVFMT_FLAG_BITEXACT;
    return muxer;
}

// Feeds both tracks in presentation order so the muxer interleaves them closely.
void EncodeInterleaved(std::optional<VideoTrack>& video, std::optional<AudioTrack>& audio) {
    for (;;) {
        const bool videoLeft = video && !video->Done();
        const bool audioLeft = audio && !audio->Done();
        if (!videoLeft && !audioLeft) break;
        if (videoLeft && (!audioLeft || video->NextTime() <= audio->NextTime())) video->EncodeNext();
        else audio->EncodeNext();
    }
    if (video) video->Flush();
    if (audio) audio->Flush();
}

} // namespace

void WriteClip(const GeneratorOptions& options, const std::string& path) {
    const FormatProfile* profile = FindFormat(options.format);
    if (!profile) throw std::runtime_error("unknown format " + options.format);
    OutputContextPtr muxer = OpenMuxer(*profile, path);

    // Video starts at 0 unless the audio leads (negative offset), and the other way round.
    const double videoStart = std::max(0.0, -options.audioOffset);
    const double audioStart = std::max(0.0, options.audioOffset);
    std::optional<VideoTrack> video;
    std::optional<AudioTrack> audio;
    if (options.video && profile->videoEncoder) {
        const auto frames = [&](double seconds) {
            return std::llround(seconds * options.rate.num / options.rate.den);
        };
        // However short the clip, each stream gets at least one frame.
        const int64_t first = frames(videoStart);
        video.emplace(muxer.get(), profile->videoEncoder, options, first, std::max<int64_t>(first + 1, frames(options.duration)));
    }
    if (options.audio && profile->audioEncoder) {
        const int64_t first = std::llround(audioStart * options.sampleRate);
        const int64_t end = std::llround(options.duration * options.sampleRate);
        audio.emplace(muxer.get(), profile->audioEncoder, options, first, std::max<int64_t>(1, end - first));
    }

    CheckLib(avio_open(&muxer->pb, path.c_str(), AVIO_FLAG_WRITE), "could not create " + path);
    CheckLib(avformat_write_header(muxer.get(), nullptr), "could not write the file header");
    EncodeInterleaved(video, audio);
    CheckLib(av_write_trailer(muxer.get()), "could not finish the file");
    CheckLib(avio_closep(&muxer->pb), "could not close " + path);
}

} // namespace kestrova::mediagen
