#include "tools/mediagen/ClipWriter.h"

#include "tools/mediagen/AudioTrack.h"
#include "tools/mediagen/FormatTable.h"
#include "tools/mediagen/LibSupport.h"
#include "tools/mediagen/VideoTrack.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>

namespace kestrova::mediagen {

namespace {

OutputContextPtr OpenMuxer(const TFormatProfile& profile, const std::string& path) {
    AVFormatContext* raw = nullptr;
    CheckLib(avformat_alloc_output_context2(&raw, nullptr, profile.Muxer, path.c_str()),
             std::string("could not set up the muxer ") + profile.Muxer);
    OutputContextPtr muxer(raw);
    // No creation times, library versions or other variable data in the file.
    muxer->flags |= AVFMT_FLAG_BITEXACT;
    return muxer;
}

// Feeds both tracks in presentation order so the muxer interleaves them closely.
void EncodeInterleaved(std::optional<TVideoTrack>& video, std::optional<TAudioTrack>& audio) {
    for (;;) {
        const bool videoLeft = video && !video->Done();
        const bool audioLeft = audio && !audio->Done();
        if (!videoLeft && !audioLeft) break;
        if (videoLeft && (!audioLeft || video->NextTime() <= audio->NextTime()))
            video->EncodeNext();
        else
            audio->EncodeNext();
    }
    if (video) video->Flush();
    if (audio) audio->Flush();
}

}  // namespace

void WriteClip(const TGeneratorOptions& options, const std::string& path) {
    const TFormatProfile* profile = FindFormat(options.Format);
    if (!profile) throw std::runtime_error("unknown format " + options.Format);
    OutputContextPtr muxer = OpenMuxer(*profile, path);

    // Video starts at 0 unless the audio leads (negative offset), and the other way round.
    const double videoStart = std::max(0.0, -options.AudioOffset);
    const double audioStart = std::max(0.0, options.AudioOffset);
    std::optional<TVideoTrack> video;
    std::optional<TAudioTrack> audio;
    if (options.Video && profile->VideoEncoder) {
        const auto frames = [&](double seconds) {
            return std::llround(seconds * options.Rate.Num / options.Rate.Den);
        };
        // However short the clip, each stream gets at least one frame.
        const int64_t first = frames(videoStart);
        const int64_t end =
                profile->Still ? first + 1 : std::max<int64_t>(first + 1, frames(options.Duration));
        video.emplace(muxer.get(), profile->VideoEncoder, options, first, end);
    }
    if (options.Audio && profile->AudioEncoder) {
        const int64_t first = std::llround(audioStart * options.SampleRate);
        const int64_t end = std::llround(options.Duration * options.SampleRate);
        audio.emplace(muxer.get(), profile->AudioEncoder, options, first, std::max<int64_t>(1, end - first));
    }

    CheckLib(avio_open(&muxer->pb, path.c_str(), AVIO_FLAG_WRITE), "could not create " + path);
    TOptionList muxerOptions;
    // The MP3 muxer's summary frame describes the first sound only: a file whose sound changes
    // goes without one, as two files joined end to end would.
    if (ChangesSound(options) && std::string(profile->Muxer) == "mp3") muxerOptions.Set("write_xing", "0");
    CheckLib(avformat_write_header(muxer.get(), &muxerOptions.Entries), "could not write the file header");
    EncodeInterleaved(video, audio);
    CheckLib(av_write_trailer(muxer.get()), "could not finish the file");
    CheckLib(avio_closep(&muxer->pb), "could not close " + path);
}

}  // namespace kestrova::mediagen
