#pragma once
// Finds the font file for a family name and style through the system's font configuration.
// Windows family names ("Tahoma", "Arial") are answered with the closest installed family.
#include <optional>
#include <string>
#include <string_view>

namespace kestrova::vhook {

struct TFontFile {
    std::string Path;
    int FaceIndex = 0;
    bool NeedsBolder = false;  // bold was asked for and the font found is not bold
    bool NeedsSlant = false;   // italic was asked for and the font found is upright
};

// Nothing when no scalable font is installed at all.
std::optional<TFontFile> FindFont(const std::string& family, bool bold, bool italic);

// A font named in a hook's options: a font file when one of that name exists (from the
// current folder or the module's), otherwise a family ("Tahoma.ttf" asks for "Tahoma").
struct TFontName {
    std::string File;
    std::string Family;
};
TFontName InterpretFontName(std::string_view name);

}  // namespace kestrova::vhook
