#pragma once
// Parsers of the structured option values ("map", "map_meta_data", "itsscale") and the format
// lists that "pix_fmt list" and "sample_fmt list" log.
#include "engine/core/Job.h"

#include <string>
#include <vector>

namespace kestrova {

// file.stream, optionally followed by :syncfile.syncstream (any one separator character
// between the numbers); without the sync part the sync pair is the source pair.
TStreamMap ParseStreamMap(const std::string& name, const std::string& value);
// outfile:infile (any one separator character).
TMetaDataMap ParseMetaDataMap(const std::string& name, const std::string& value);

struct TStreamScale {
    int StreamIndex = 0;
    double Scale = 0;
};
// stream:scale; an index outside 0..kMaxStreams-1 raises "stream index over MAX_STREAMS(20)".
TStreamScale ParseStreamScale(const std::string& name, const std::string& value);

// The header line and one line per pixel format (sample format).
std::vector<std::string> PixelFormatList();
std::vector<std::string> SampleFormatList();

}  // namespace kestrova
