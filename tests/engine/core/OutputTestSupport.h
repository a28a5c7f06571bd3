#pragma once
// Helpers of the output tests: generated clips, scratch paths and a look at the streams of an
// added output.
#include "engine/frame/LibBindings.h"
#include "tests/engine/core/JobTestSupport.h"
#include "tests/support/TestMedia.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestrova::testing {

inline std::string ScratchPath(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(testmedia::TempDir(folder)) / name).string();
}

// A short small clip of the given format; audio and video as asked.
inline std::string SmallClip(const std::string& format, double duration = 1.0, bool video = true,
                             bool audio = true, const std::string& rate = "25") {
    testmedia::ClipSpec spec;
    spec.format = format;
    spec.duration = duration;
    spec.width = 160;
    spec.height = 120;
    spec.rate = rate;
    spec.video = video;
    spec.audio = audio;
    return testmedia::Clip(spec);
}

// The kinds of the streams of output entry `index`, in stream order.
inline std::vector<AVMediaType> StreamKinds(const TCustomFFmpeg& job, int index) {
    std::vector<AVMediaType> kinds;
    if (const TOutputFile* file = job.OutputFile(index))
        for (const auto& stream : file->Streams) kinds.push_back(stream->Kind);
    return kinds;
}

// The first stream of `kind` of output entry 0, or null.
inline const TOutputStream* FirstStream(const TCustomFFmpeg& job, AVMediaType kind) {
    const TOutputFile* file = job.OutputFile(0);
    if (!file) return nullptr;
    for (const auto& stream : file->Streams)
        if (stream->Kind == kind) return stream.get();
    return nullptr;
}

inline std::string DictionaryValue(const AVDictionary* dictionary, const char* key) {
    const AVDictionaryEntry* entry = ff::av_dict_get(dictionary, key, nullptr, 0);
    return entry ? entry->value : "";
}

}  // namespace kestrova::testing
