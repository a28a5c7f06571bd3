#include "profiles/options/SourceFromProbe.h"

#include "engine/frame/AVProbe.h"

namespace kestrova {

TSourceInfo SourceFromProbe(TCustomAVProbe& probe) {
    TSourceInfo source;
    source.FileName = probe.FileName();
    source.FormatName = probe.FormatName();
    source.File = probe.GetFileStreamInfo();
    if (probe.FirstVideoStreamIndex() >= 0) source.Video = probe.GetVideoStreamInfo();
    if (probe.FirstAudioStreamIndex() >= 0) source.Audio = probe.GetAudioStreamInfo();
    return source;
}

}  // namespace kestrova
