// The image-and-text module (imlib2.so) in a real conversion: its picture and text follow the
// position and colour expressions of the option line frame by frame, and nothing else changes.
#include "DecodedVideo.h"
#include "HookRun.h"
#include "PictureChecks.h"
#include "TestMedia.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace kestrova::vhooktest {
namespace {

constexpr int kPictureWidth = 96, kPictureHeight = 64;  // imlib2.bmp

using TPlace = std::function<std::array<int, 2>(int frame, int width, int height)>;
using TColourOf = std::function<std::array<int, 3>(int frame)>;

// Where an expression's value lands: the nearest pixel.
int Nearest(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

struct TImageTextCase {
    const char* Name;
    std::vector<std::string> Arguments;  // "@name" stands for the file in the program's vhook/
    TSourceKind Source;
    TPlace PictureAt;  // empty: no picture
    TPlace TextAt;     // empty: no text
    TColourOf TextColour;
    int TextCharacters = 5;
};

const TImageTextCase kImageTextCases[] = {
        {"PictureInTheBottomRightCorner",
         {"-i", "@imlib2.bmp", "-x", "W-w", "-y", "H-h"},
         {"yuv420p", 320, 240},
         [](int, int width, int height) {
             return std::array{width - kPictureWidth, height - kPictureHeight};
         },
         {},
         {}},
        {"DancingPicture",
         {"-i", "@imlib2.bmp", "-x", "(W-w)*(0.5+0.5*sin(N/47*PI))", "-y", "(H-h)*(0.5+0.5*cos(N/97*PI))"},
         {"yuv444p", 161, 97},
         [](int frame, int width, int height) {
             const double n = frame, pi = std::numbers::pi;
             return std::array{Nearest((width - kPictureWidth) * (0.5 + 0.5 * std::sin(n / 47 * pi))),
                               Nearest((height - kPictureHeight) * (0.5 + 0.5 * std::cos(n / 97 * pi)))};
         },
         {},
         {}},
        {"TextInItsColour",
         {"-R", "0", "-G", "255", "-B", "0", "-F", "Tahoma.ttf/16", "-t", "VADOR", "-x", "10", "-y", "10"},
         {"yuv444p", 320, 240},
         {},
         [](int, int, int) {
             return std::array{10, 10};
         },
         [](int) {
             return std::array{0, 255, 0};
         }},
        {"ScrollingText",
         {"-R", "255", "-G", "255", "-B", "0", "-F", "Tahoma.ttf/16", "-t", "VADOR", "-x", "10", "-y",
          "(H-25)*(0.5+0.50*cos(N/97*PI))"},
         {"yuv420p", 320, 240},
         {},
         [](int frame, int, int height) {
             return std::array{
                     10, Nearest((height - 25) * (0.5 + 0.5 * std::cos(frame / 97.0 * std::numbers::pi)))};
         },
         [](int) {
             return std::array{255, 255, 0};
         }},
        {"ColourFromTheFrameCount",
         {"-t", "VADOR", "-R", "N*25", "-G", "40", "-B", "255-N*25", "-x", "30", "-y", "130"},
         {"rgb24", 320, 240},
         {},
         [](int, int, int) {
             return std::array{30, 130};
         },
         [](int frame) {
             return std::array{frame * 25, 40, 255 - frame * 25};
         }},
        // Both in the bottom-right corner, each by its own size: the text lies over the picture's
        // lower part. Its x and exact line height depend on the font, so only its band is known.
        {"PictureAndTextFromOneLine",
         {"-i", "@imlib2.bmp", "-t", "Hi", "-x", "W-w", "-y", "H-h", "-R", "255", "-G", "0", "-B", "255"},
         {"nv12", 161, 97},
         [](int, int width, int height) {
             return std::array{width - kPictureWidth, height - kPictureHeight};
         },
         [](int, int, int height) {
             return std::array{-1, height - 30};
         },
         [](int) {
             return std::array{255, 0, 255};
         },
         2},
};

std::vector<std::string> HookPieces(const TImageTextCase& test) {
    std::vector<std::string> pieces = {VhookFile("imlib2.so")};
    for (const std::string& argument : test.Arguments)
        pieces.push_back(argument.starts_with('@') ? VhookFile(argument.substr(1)) : argument);
    return pieces;
}

class ImageTextHookTest : public ::testing::TestWithParam<TImageTextCase> {};

TEST_P(ImageTextHookTest, FollowsItsExpressionsFrameByFrame) {
    const TImageTextCase& test = GetParam();
    const std::string source = StagedSource(test.Source);
    const std::string output = testmedia::TempDir(std::string("imagetext-") + test.Name) + "/drawn.nut";
    const testmedia::ProcessResult run = ConvertWithHooks(source, {HookLine(HookPieces(test))}, output);
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const std::vector<TFramePtr> before = DecodeVideo(source);
    const std::vector<TFramePtr> after = DecodeVideo(output);
    const std::vector<TFramePtr> artFrames = DecodeVideo(VhookFile("imlib2.bmp"));
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(after.size(), before.size());
    ASSERT_EQ(artFrames.size(), 1u);
    const TRgbaPicture art = ToRgba(*artFrames[0]);
    const int width = test.Source.Width, height = test.Source.Height;

    for (int frame = 0; frame < static_cast<int>(after.size()); ++frame) {
        const TArea changed = ChangedArea(*before[frame], *after[frame]);
        const TRgbaPicture shown = ToRgba(*after[frame]);
        EXPECT_FALSE(changed.Empty()) << "frame " << frame;
        TArea allowed{width, height, 0, 0};
        auto allow = [&allowed](const TArea& area) {
            allowed = {std::min(allowed.X0, area.X0), std::min(allowed.Y0, area.Y0),
                       std::max(allowed.X1, area.X1), std::max(allowed.Y1, area.Y1)};
        };
        TArea textReach{};
        if (test.TextAt) {
            const auto [x, y] = test.TextAt(frame, width, height);
            const int textWidth = test.TextCharacters * kGlyphWidth;
            textReach = x < 0 ? OverlayReach(0, y - 1, width, kLineReach, width, height)
                              : OverlayReach(x - 1, y - 1, textWidth, kLineReach, width, height);
            allow(textReach);
            EXPECT_GT(CountColour(shown, textReach, test.TextColour(frame), 60), 10) << "frame " << frame;
            if (!test.PictureAt) {
                EXPECT_GE(changed.Y0, y) << "frame " << frame;  // glyphs start at or below the line's top
                EXPECT_LE(changed.Y0, y + 8) << "frame " << frame;
            }
        }
        if (test.PictureAt) {
            const auto [x, y] = test.PictureAt(frame, width, height);
            allow(OverlayReach(x, y, kPictureWidth, kPictureHeight, width, height));
            const TArtComparison drawn = CompareDrawnArt(art, shown, x, y, 12, textReach);
            EXPECT_GT(drawn.Compared, 100) << "frame " << frame;
            EXPECT_EQ(drawn.FirstMismatch, "") << "frame " << frame;
        }
        EXPECT_TRUE(changed.Within(allowed)) << "frame " << frame << ": changed " << changed.X0 << ","
                                             << changed.Y0 << " to " << changed.X1 << "," << changed.Y1;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ImageTextHookTest, ::testing::ValuesIn(kImageTextCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kestrova::vhooktest
