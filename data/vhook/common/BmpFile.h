#pragma once
// Reads the modules' pictures: Windows bitmaps of 24 or 32 bits a pixel, uncompressed or with
// bit-field masks (the form that carries an alpha channel), stored from the bottom or the top.
#include "data/vhook/common/RgbaImage.h"

#include <optional>
#include <string>

namespace kestrova::vhook {

// Pictures larger than this on either side are refused rather than allocated.
inline constexpr int kMaxPictureSide = 8192;

// The picture in the file, or nothing when the file is missing, truncated or of another kind.
// A 32-bit picture whose alpha is zero everywhere is taken as opaque (many writers leave that
// byte unused).
std::optional<TRgbaImage> ReadBmpFile(const std::string& path);

// The same from the bytes of a file.
std::optional<TRgbaImage> DecodeBmp(const std::vector<uint8_t>& bytes);

}  // namespace kestrova::vhook
