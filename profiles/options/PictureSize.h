#pragma once
// The size of a picture file, read from its header alone.
#include <QString>

#include <optional>

namespace kestrova {

struct TPictureSize {
    int Width = 0;
    int Height = 0;
};

// Width and height of a BMP, PNG or Netpbm (PBM/PGM/PPM/PAM) file; nullopt when the file is
// missing or its header is none of these.
std::optional<TPictureSize> ReadPictureSize(const QString& path);

}  // namespace kestrova
