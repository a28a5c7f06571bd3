#pragma once
// One run of the generator: make the clip under a temporary name, damage it if asked, then
// move it into place, so the output name never holds a half-written file.
#include "tools/mediagen/GeneratorOptions.h"

namespace kestrova::mediagen {

// Throws std::runtime_error on failure (and leaves nothing behind).
void Generate(const TGeneratorOptions& options);

}  // namespace kestrova::mediagen
