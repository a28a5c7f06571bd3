#pragma once
// Turns a row's choices into the engine's records: the output record (codecs, sizes, rates,
// bit rates, channels, volume, container, filters, hooks, trim, the reserved output file)
// and the input record (source, forced format, trim start).
#include "engine/front/HostOptions.h"
#include "profiles/options/OptionChoices.h"

#include <string>

namespace kestrova {

// The extensions whose targets carry no video; an extension occurring anywhere in this text
// counts, so a part of one (".mp") does too.
inline constexpr char kAudioOnlyExtensions[] = ".aac .ac3 .mp2 .mp3 .m4a .wav .wma .ogg .flac .aiff .au .ape";

// "." + the profile's first extension in lower case.
std::string OutputExtension(const TOptionChoices& choices);

// The profile says it has no video, or its extension is one of the audio-only extensions.
bool IsAudioOnlyTarget(const TOptionChoices& choices);

// The source's video bit rate in whole kbit/s (0 when unknown): what a video bit rate of 0
// stands for.
int32_t SourceVideoKbps(const TVideoStreamInfo& video);

// The output record. Creates the output file (see ReserveOutputFile), so every call gives a
// new name: the file an earlier call reserved stays and takes its name.
TOutputOptions BuildOutputOptions(const TOptionChoices& choices);

// The output record for an output that already has its name (a row brought back from the
// saved queue): nothing is reserved.
TOutputOptions BuildNamedOutputOptions(const TOptionChoices& choices, const std::string& fileName);

TInputOptions BuildInputOptions(const TOptionChoices& choices);

}  // namespace kestrova
