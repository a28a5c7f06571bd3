#pragma once
// The source part of a row's choices, read from the probe that opened the source.
#include "profiles/options/OptionChoices.h"

namespace kestrova {

class TCustomAVProbe;

// File name, forced format, file information and the first video and audio streams. A kind
// of stream the file lacks keeps its record's "not given" values (and is not asked for, so
// the probe logs nothing about it).
TSourceInfo SourceFromProbe(TCustomAVProbe& probe);

// The file's size and modification time now (Size -1 when it cannot be looked at). Paths are
// bytes as the file system takes them.
TFileStamp StampOfFile(const std::string& path);

}  // namespace kestrova
