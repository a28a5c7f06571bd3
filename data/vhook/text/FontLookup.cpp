#include "data/vhook/text/FontLookup.h"

#include "data/vhook/common/ModuleFiles.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

namespace kestrova::vhook {

namespace {

struct TPatternFree {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using TPatternPtr = std::unique_ptr<FcPattern, TPatternFree>;
struct TConfigFree {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
using TConfigPtr = std::unique_ptr<FcConfig, TConfigFree>;

constexpr std::string_view kFontExtensions[] = {".ttf", ".otf", ".ttc", ".pfb", ".pfa"};

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

TFontName InterpretFontName(std::string_view name) {
    const std::string resolved = ResolveModuleFile(name);
    std::error_code error;
    if (!name.empty() && std::filesystem::is_regular_file(resolved, error)) return {resolved, {}};
    std::string family(name);
    const std::string extension = Lowered(std::filesystem::path(family).extension().string());
    if (std::find(std::begin(kFontExtensions), std::end(kFontExtensions), extension) !=
        std::end(kFontExtensions))
        family.resize(family.size() - extension.size());
    return {{}, family};
}

std::optional<TFontFile> FindFont(const std::string& family, bool bold, bool italic) {
    TPatternPtr wanted(FcPatternCreate());
    if (!wanted) return std::nullopt;
    const auto* familyName = reinterpret_cast<const FcChar8*>(family.empty() ? "sans-serif" : family.c_str());
    FcPatternAddString(wanted.get(), FC_FAMILY, familyName);
    FcPatternAddInteger(wanted.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(wanted.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(wanted.get(), FC_SCALABLE, FcTrue);
    // A configuration of the hook's own, dropped after the lookup: the process-wide one belongs to
    // the program (its windows use it too), and a module unloaded or finished must leave nothing.
    const TConfigPtr config(FcInitLoadConfigAndFonts());
    if (!config || !FcConfigSubstitute(config.get(), wanted.get(), FcMatchPattern)) return std::nullopt;
    FcDefaultSubstitute(wanted.get());

    FcResult result = FcResultNoMatch;
    TPatternPtr found(FcFontMatch(config.get(), wanted.get(), &result));
    if (!found || result != FcResultMatch) return std::nullopt;
    FcChar8* path = nullptr;
    if (FcPatternGetString(found.get(), FC_FILE, 0, &path) != FcResultMatch || !path) return std::nullopt;

    TFontFile font;
    font.Path = reinterpret_cast<const char*>(path);
    FcPatternGetInteger(found.get(), FC_INDEX, 0, &font.FaceIndex);
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(found.get(), FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(found.get(), FC_SLANT, 0, &slant);
    font.NeedsBolder = bold && weight < FC_WEIGHT_DEMIBOLD;
    font.NeedsSlant = italic && slant == FC_SLANT_ROMAN;
    return font;
}

}  // namespace kestrova::vhook
