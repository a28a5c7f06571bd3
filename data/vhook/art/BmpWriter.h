#pragma once
// Writes a picture as a 32-bit Windows bitmap with an alpha channel (version 5 header, sRGB).
#include <cstdint>
#include <string>
#include <vector>

namespace kestrova::vhook::art {

// `rgba`: red, green, blue, straight alpha, rows from the top. Fully transparent pixels are
// stored white, so that a reader keying out white (and ignoring alpha) sees the same shape.
// False when the file cannot be written.
bool WriteBmpFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);

}  // namespace kestrova::vhook::art
