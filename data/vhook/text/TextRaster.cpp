#include "data/vhook/text/TextRaster.h"

#include "data/vhook/text/FontLookup.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace kestrova::vhook {

namespace {

struct TLibraryFree {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct TFaceFree {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using TLibraryPtr = std::unique_ptr<FT_LibraryRec_, TLibraryFree>;
using TFacePtr = std::unique_ptr<FT_FaceRec_, TFaceFree>;

constexpr double kDotsPerInch = 96;
constexpr char32_t kReplacement = 0xfffd;
// A text wider than any picture is refused before its mask is allocated.
constexpr int64_t kMaxMaskPixels = 16 << 20;

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string decoded;
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const int extra = lead < 0x80         ? 0
                          : (lead >> 5) == 6  ? 1
                          : (lead >> 4) == 14 ? 2
                          : (lead >> 3) == 30 ? 3
                                              : -1;
        if (extra < 0 || at + extra >= text.size()) {
            decoded.push_back(kReplacement);
            ++at;
            continue;
        }
        char32_t code = extra == 0 ? lead : lead & (0x3f >> extra);
        bool valid = true;
        for (int i = 1; i <= extra; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            valid = valid && (next & 0xc0) == 0x80;
            code = (code << 6) | (next & 0x3f);
        }
        constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (!valid || code < kSmallest[extra] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
            decoded.push_back(kReplacement);
            ++at;
            continue;
        }
        decoded.push_back(code);
        at += extra + 1;
    }
    return decoded;
}

struct TGlyphImage {
    int Left = 0, Top = 0;  // from the pen's start on the baseline, y growing downwards
    int Width = 0, Height = 0;
    std::vector<uint8_t> Coverage;
};

// A horizontal bar (underline, strike-out) from the pen's start to its end.
struct TBar {
    int Top = 0, Thickness = 0;
};

struct TBounds {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    void Include(int left, int top, int right, int bottom) {
        Left = std::min(Left, left);
        Top = std::min(Top, top);
        Right = std::max(Right, right);
        Bottom = std::max(Bottom, bottom);
    }
};

int Pixels26(FT_Pos value) {
    return static_cast<int>((value + 32) >> 6);
}

TFacePtr OpenFace(FT_Library library, const TTextStyle& style, TFontFile& font) {
    if (style.FontFile.empty()) {
        std::optional<TFontFile> found = FindFont(style.Family, style.Bold, style.Italic);
        if (!found) return nullptr;
        font = *found;
    } else {
        font.Path = style.FontFile;
        font.NeedsBolder = style.Bold;
        font.NeedsSlant = style.Italic;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, font.Path.c_str(), font.FaceIndex, &face) != 0) return nullptr;
    TFacePtr owned(face);
    if (!FT_IS_SCALABLE(face)) return nullptr;
    const auto size = static_cast<FT_F26Dot6>(std::lround(style.PointSize * 64));
    if (FT_Set_Char_Size(face, 0, size, kDotsPerInch, kDotsPerInch) != 0) return nullptr;
    if (style.FontFile.empty()) return owned;
    // A font file named directly: synthesise only what the face does not have itself.
    font.NeedsBolder = style.Bold && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    font.NeedsSlant = style.Italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    return owned;
}

// Loads, styles and renders one glyph; its advance in 26.6 units goes to `advance`.
bool RenderGlyph(FT_Face face, FT_UInt index, const TFontFile& font, TGlyphImage& glyph, FT_Pos& advance) {
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    advance = slot->advance.x;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (font.NeedsBolder) {
            const FT_Pos strength = std::max<FT_Pos>(face->size->metrics.y_ppem * 64 / 24, 32);
            FT_Outline_Embolden(&slot->outline, strength);
            advance += strength;
        }
        if (font.NeedsSlant) {
            FT_Matrix shear{0x10000, 0x3800, 0, 0x10000};  // about 12 degrees
            FT_Outline_Transform(&slot->outline, &shear);
        }
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
    glyph.Left = slot->bitmap_left;
    glyph.Top = -slot->bitmap_top;
    glyph.Width = static_cast<int>(bitmap.width);
    glyph.Height = static_cast<int>(bitmap.rows);
    glyph.Coverage.resize(static_cast<size_t>(glyph.Width) * glyph.Height);
    for (int row = 0; row < glyph.Height; ++row)
        std::copy_n(bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch, glyph.Width,
                    glyph.Coverage.begin() + static_cast<ptrdiff_t>(row) * glyph.Width);
    return true;
}

TBar Underline(FT_Face face) {
    const FT_Fixed scale = face->size->metrics.y_scale;
    const int thickness = std::max(1, Pixels26(FT_MulFix(face->underline_thickness, scale)));
    const int centre = -Pixels26(FT_MulFix(face->underline_position, scale));
    return {centre - thickness / 2, thickness};
}

TBar StrikeOut(FT_Face face) {
    const FT_Fixed scale = face->size->metrics.y_scale;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->yStrikeoutSize > 0) {
        const int thickness = std::max(1, Pixels26(FT_MulFix(os2->yStrikeoutSize, scale)));
        return {-Pixels26(FT_MulFix(os2->yStrikeoutPosition, scale)) - thickness / 2, thickness};
    }
    const TBar underline = Underline(face);
    return {-Pixels26(face->size->metrics.ascender) * 3 / 10, underline.Thickness};
}

void Blit(TAlphaMask& mask, int x, int y, const TGlyphImage& glyph) {
    for (int row = 0; row < glyph.Height; ++row) {
        uint8_t* out = mask.Coverage.data() + static_cast<size_t>(y + row) * mask.Width + x;
        const uint8_t* in = glyph.Coverage.data() + static_cast<size_t>(row) * glyph.Width;
        for (int column = 0; column < glyph.Width; ++column) out[column] = std::max(out[column], in[column]);
    }
}

// The glyphs of a line placed along the baseline, and the box they and the line cover.
struct TLaidOutLine {
    std::vector<std::pair<int, TGlyphImage>> Glyphs;  // pen position in pixels, glyph
    TBounds Bounds;
    int Width = 0;  // the pen's advance
};

bool TooLarge(const TBounds& bounds) {
    return static_cast<int64_t>(bounds.Right - bounds.Left) * (bounds.Bottom - bounds.Top) > kMaxMaskPixels;
}

std::optional<TLaidOutLine> LayOutLine(FT_Face face, const TFontFile& font, std::string_view utf8) {
    const int ascender = Pixels26(face->size->metrics.ascender);
    const int descender = Pixels26(face->size->metrics.descender);  // negative: below the baseline
    TLaidOutLine line;
    line.Bounds = {0, -ascender, 0, -descender};
    FT_Pos pen = 0;
    FT_UInt previous = 0;
    for (const char32_t code : DecodeUtf8(utf8)) {
        if (code < 0x20) continue;  // control characters draw nothing
        const FT_UInt index = FT_Get_Char_Index(face, code);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector kerning{};
            if (FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kerning) == 0) pen += kerning.x;
        }
        TGlyphImage glyph;
        FT_Pos advance = 0;
        if (!RenderGlyph(face, index, font, glyph, advance)) continue;
        const int x = Pixels26(pen);
        if (glyph.Width > 0 && glyph.Height > 0)
            line.Bounds.Include(x + glyph.Left, glyph.Top, x + glyph.Left + glyph.Width,
                                glyph.Top + glyph.Height);
        // A text wider than any picture is refused before it takes up memory.
        if (TooLarge(line.Bounds)) return std::nullopt;
        line.Glyphs.emplace_back(x, std::move(glyph));
        pen += advance;
        previous = index;
    }
    line.Width = Pixels26(pen);
    line.Bounds.Include(0, -ascender, line.Width, -descender);
    return line;
}

}  // namespace

std::optional<TTextMask> RenderText(std::string_view utf8, const TTextStyle& style) {
    if (!(style.PointSize > 0 && style.PointSize <= kMaxPointSize)) return std::nullopt;
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) return std::nullopt;
    TLibraryPtr library(rawLibrary);
    TFontFile font;
    TFacePtr face = OpenFace(library.get(), style, font);
    if (!face) return std::nullopt;
    std::optional<TLaidOutLine> line = LayOutLine(face.get(), font, utf8);
    if (!line) return std::nullopt;

    std::vector<TBar> bars;
    if (style.Underline) bars.push_back(Underline(face.get()));
    if (style.StrikeOut) bars.push_back(StrikeOut(face.get()));
    TBounds& bounds = line->Bounds;
    for (const TBar& bar : bars) bounds.Include(0, bar.Top, line->Width, bar.Top + bar.Thickness);
    if (TooLarge(bounds)) return std::nullopt;

    const int ascender = Pixels26(face->size->metrics.ascender);
    TTextMask text;
    text.Mask.Width = bounds.Right - bounds.Left;
    text.Mask.Height = bounds.Bottom - bounds.Top;
    text.Mask.Coverage.assign(static_cast<size_t>(text.Mask.Width) * text.Mask.Height, 0);
    text.OriginX = -bounds.Left;
    text.OriginY = -ascender - bounds.Top;
    text.LineWidth = line->Width;
    text.LineHeight = ascender - Pixels26(face->size->metrics.descender);
    const int baseline = -bounds.Top;
    for (const auto& [x, glyph] : line->Glyphs)
        Blit(text.Mask, x + glyph.Left - bounds.Left, baseline + glyph.Top, glyph);
    for (const TBar& bar : bars)
        for (int row = 0; row < bar.Thickness; ++row)
            std::fill_n(text.Mask.Coverage.begin() +
                                static_cast<ptrdiff_t>(baseline + bar.Top + row) * text.Mask.Width +
                                text.OriginX,
                        line->Width, uint8_t{255});
    return text;
}

}  // namespace kestrova::vhook
