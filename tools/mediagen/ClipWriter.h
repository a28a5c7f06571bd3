#pragma once
// Encodes and muxes one intact clip.
#include "tools/mediagen/GeneratorOptions.h"

#include <string>

namespace kestrova::mediagen {

// Writes the clip described by options to path (options.output and options.damage are not
// looked at). Throws std::runtime_error on failure; the caller removes the partial file.
void WriteClip(const GeneratorOptions& options, const std::string& path);

} // namespace kestrova::mediagen
