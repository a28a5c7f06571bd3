#include "profiles/options/SourceFromProbe.h"

#include "engine/frame/AVProbe.h"

#include <chrono>
#include <filesystem>

namespace kestrova {

TSourceInfo SourceFromProbe(TCustomAVProbe& probe) {
    TSourceInfo source;
    source.FileName = probe.FileName();
    source.FormatName = probe.FormatName();
    source.Stamp = StampOfFile(source.FileName);
    source.File = probe.GetFileStreamInfo();
    if (probe.FirstVideoStreamIndex() >= 0) source.Video = probe.GetVideoStreamInfo();
    if (probe.FirstAudioStreamIndex() >= 0) source.Audio = probe.GetAudioStreamInfo();
    return source;
}

TFileStamp StampOfFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file(path);
    const std::uintmax_t size = fs::file_size(file, error);
    if (error) return {};
    const fs::file_time_type modified = fs::last_write_time(file, error);
    if (error) return {};
    return {static_cast<int64_t>(size),
            std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count()};
}

}  // namespace kestrova
