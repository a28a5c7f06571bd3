#pragma once
// Encodes and muxes one intact clip.
#include "tools/mediagen/GeneratorOptions.h"

#include <string>

namespace kestrova::mediagen {

// Writes the clip described by options to path (options.Output and options.Damage are not
// looked at). Throws std::runtime_error on failure; the caller removes the partial file.
void WriteClip(const TGeneratorOptions& options, const std::string& path);

}  // namespace kestrova::mediagen
