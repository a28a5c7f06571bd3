// The demonstration module (VantelHook.so) in a real conversion: its picture and its text land
// where the option line puts them, in their colours and style, and nothing else changes.
#include "DecodedVideo.h"
#include "HookRun.h"
#include "PictureChecks.h"
#include "TestMedia.h"

#include <gtest/gtest.h>

#include <optional>

namespace kestrova::vhooktest {
namespace {

constexpr int kPictureSide = 64;  // VantelHook.bmp

struct TTextExpectation {
    int X = 0, Y = 0;
    std::array<int, 3> Colour{};
    int Characters = 0;  // of the text as typed
    int MinWidth = 0;    // the drawn text is at least this wide
    bool Underlined = false;
};

struct TDemoCase {
    const char* Name;
    std::vector<std::string> Arguments;  // "@name" stands for the file in the program's vhook/
    TSourceKind Source;
    std::optional<std::array<int, 2>> PictureAt;
    std::optional<TTextExpectation> Text;
};

const TDemoCase kDemoCases[] = {
        {"PictureInTheBottomRightCorner",
         {"-i", "@VantelHook.bmp", "-mc", "FFFFFF", "-ix", "246", "-iy", "166"},
         {"yuv420p", 320, 240},
         std::array<int, 2>{246, 166},
         std::nullopt},
        {"PictureReachingOutOfTheTopLeft",
         {"-i", "@VantelHook.bmp", "-ix", "-30", "-iy", "-20"},
         {"yuv444p", 161, 97},
         std::array<int, 2>{-30, -20},
         std::nullopt},
        {"BoldUnderlinedTextInItsColour",
         {"-t", "VADOR", "-tx", "10", "-ty", "10", "-fc", "FF2020", "-fn", "Tahoma", "-fs", "16", "-fst",
          "BU"},
         {"yuv444p", 320, 240},
         std::nullopt,
         TTextExpectation{10, 10, {255, 32, 32}, 5, 60, true}},
        {"TextCutApartOnABlankSeparatedLine",
         {"-t", "Kestrova", "video", "-tx", "20", "-ty", "60", "-fc", "20FF20"},
         {"yuv420p", 320, 240},
         std::nullopt,
         TTextExpectation{20, 60, {32, 255, 32}, 14, 130, false}},
        {"TextWithBlanksOnABarSeparatedLine",
         {"-t", "Kestrova video", "-tx", "20", "-ty", "60", "-fc", "FFFF20"},
         {"rgb24", 320, 240},
         std::nullopt,
         TTextExpectation{20, 60, {255, 255, 32}, 14, 130, false}},
        {"PictureAndTextOnAnOddSizedSemiPlanarPicture",
         {"-i", "@VantelHook.bmp", "-mc", "FFFFFF", "-ix", "87", "-iy", "23", "-t", "VADOR", "-tx", "4",
          "-ty", "4", "-fc", "2080FF", "-fs", "12"},
         {"nv12", 161, 97},
         std::array<int, 2>{87, 23},
         TTextExpectation{4, 4, {32, 128, 255}, 5, 40, false}},
};

std::vector<std::string> HookPieces(const TDemoCase& test) {
    std::vector<std::string> pieces = {VhookFile("VantelHook.so")};
    for (const std::string& argument : test.Arguments)
        pieces.push_back(argument.starts_with('@') ? VhookFile(argument.substr(1)) : argument);
    return pieces;
}

TArea TextReach(const TTextExpectation& text, int width, int height) {
    return OverlayReach(text.X - 1, text.Y - 1, text.Characters * kGlyphWidth, kLineReach, width, height);
}

// Whether some row of the area holds an unbroken run of the colour at least `length` long (an
// underline; letters alone leave gaps between them).
bool HasColouredRun(const TRgbaPicture& picture, const TArea& area, std::array<int, 3> colour, int length) {
    for (int y = area.Y0; y < area.Y1; ++y) {
        int run = 0;
        for (int x = area.X0; x < area.X1; ++x) {
            run = CountColour(picture, {x, y, x + 1, y + 1}, colour, 60) == 1 ? run + 1 : 0;
            if (run >= length) return true;
        }
    }
    return false;
}

// The smallest area holding both (either may be absent).
TArea Enclosing(const std::optional<TArea>& first, const std::optional<TArea>& second) {
    if (!first) return second.value_or(TArea{});
    if (!second) return *first;
    return {std::min(first->X0, second->X0), std::min(first->Y0, second->Y0), std::max(first->X1, second->X1),
            std::max(first->Y1, second->Y1)};
}

class DemoHookTest : public ::testing::TestWithParam<TDemoCase> {};

TEST_P(DemoHookTest, DrawsItsPictureAndTextWhereTheLinePutsThem) {
    const TDemoCase& test = GetParam();
    const std::string source = StagedSource(test.Source);
    const std::string output = testmedia::TempDir(std::string("demo-") + test.Name) + "/drawn.nut";
    const testmedia::ProcessResult run = ConvertWithHooks(source, {HookLine(HookPieces(test))}, output);
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const std::vector<TFramePtr> before = DecodeVideo(source);
    const std::vector<TFramePtr> after = DecodeVideo(output);
    const std::vector<TFramePtr> artFrames = DecodeVideo(VhookFile("VantelHook.bmp"));
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(after.size(), before.size());
    ASSERT_EQ(artFrames.size(), 1u);
    const TRgbaPicture art = ToRgba(*artFrames[0]);
    const int width = test.Source.Width, height = test.Source.Height;

    const std::optional<TArea> pictureReach =
            test.PictureAt ? std::optional(OverlayReach((*test.PictureAt)[0], (*test.PictureAt)[1],
                                                        kPictureSide, kPictureSide, width, height))
                           : std::nullopt;
    const std::optional<TArea> textReach =
            test.Text ? std::optional(TextReach(*test.Text, width, height)) : std::nullopt;
    const TArea allowed = Enclosing(pictureReach, textReach);

    for (size_t index = 0; index < after.size(); ++index) {
        const TArea changed = ChangedArea(*before[index], *after[index]);
        EXPECT_FALSE(changed.Empty()) << "frame " << index;
        EXPECT_TRUE(changed.Within(allowed)) << "frame " << index << ": changed " << changed.X0 << ","
                                             << changed.Y0 << " to " << changed.X1 << "," << changed.Y1;
        const TRgbaPicture shown = ToRgba(*after[index]);
        if (test.PictureAt) {
            const TArtComparison drawn =
                    CompareDrawnArt(art, shown, (*test.PictureAt)[0], (*test.PictureAt)[1], 12);
            EXPECT_GT(drawn.Compared, 100) << "frame " << index;
            EXPECT_EQ(drawn.FirstMismatch, "") << "frame " << index;
        }
        if (!test.Text) continue;
        const TTextExpectation& text = *test.Text;
        EXPECT_GT(CountColour(shown, *textReach, text.Colour, 60), 20) << "frame " << index;
        EXPECT_EQ(HasColouredRun(shown, *textReach, text.Colour, text.MinWidth), text.Underlined)
                << "frame " << index;
        if (test.PictureAt) continue;  // the text's own extent is only known without the picture
        EXPECT_GE(changed.X1 - changed.X0, text.MinWidth) << "frame " << index;
        EXPECT_LE(changed.X0, text.X + 3) << "frame " << index;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, DemoHookTest, ::testing::ValuesIn(kDemoCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kestrova::vhooktest
