// The watermark module in a real conversion: its picture lands in the top-right corner of every
// frame (10 pixels in), in its own colours in mode 1 and as a see-through relief in mode 0, on
// every kind of picture the engine hands over, and nothing else of the frame changes; with hook
// periods, only inside them.
#include "DecodedVideo.h"
#include "HookRun.h"
#include "PictureChecks.h"
#include "TestMedia.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <cmath>
#include <cstdlib>

namespace kestrova::vhooktest {
namespace {

constexpr int kMargin = 10;

struct TWatermarkCase {
    const char* Name;
    int Mode;
    TSourceKind Source;
};

const TWatermarkCase kWatermarkCases[] = {
        {"OpaqueOnPlanar420", 1, {"yuv420p", 320, 240}},
        {"OpaqueOnOddSized444", 1, {"yuv444p", 161, 97}},
        {"OpaqueOnOddSizedSemiPlanar", 1, {"nv12", 161, 97}},
        {"OpaqueOnPackedRgb", 1, {"rgb24", 320, 240}},
        {"OpaqueOnTenBit", 1, {"yuv420p10le", 320, 240}},
        {"OpaqueOnPictureSmallerThanTheMark", 1, {"yuv420p", 90, 30}},
        {"ReliefOnPlanar420", 0, {"yuv420p", 320, 240}},
        {"ReliefOnOddSizedGray", 0, {"gray", 161, 97}},
        {"ReliefOnPackedRgbWithAlpha", 0, {"bgra", 320, 240}},
};

class WatermarkHookTest : public ::testing::TestWithParam<TWatermarkCase> {};

bool IsRgb(const AVFrame& frame) {
    return (av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format))->flags & AV_PIX_FMT_FLAG_RGB) != 0;
}

bool IsGray(const AVFrame& frame) {
    return av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format))->nb_components <= 2 && !IsRgb(frame);
}

double Lightness(const std::array<int, 4>& rgb) {
    return 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2];
}

// Whether moving the colour by `shift` would run a channel into either end of its range.
bool ClipsAt(const std::array<int, 4>& rgb, double shift) {
    for (int c = 0; c < 3; ++c)
        if (rgb[c] + shift < 20 || rgb[c] + shift > 235) return true;
    return false;
}

TEST_P(WatermarkHookTest, MarksTheTopRightCornerOfEveryFrameAndNothingElse) {
    const TWatermarkCase& test = GetParam();
    const std::string source = StagedSource(test.Source);
    const std::string output = testmedia::TempDir(std::string("watermark-") + test.Name) + "/marked.nut";
    const std::string line = HookLine(
            {VhookFile("watermark.so"), "-f", VhookFile("watermark.bmp"), "-m", std::to_string(test.Mode)});
    const testmedia::ProcessResult run = ConvertWithHooks(source, {line}, output);
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const std::vector<TFramePtr> before = DecodeVideo(source);
    const std::vector<TFramePtr> after = DecodeVideo(output);
    const std::vector<TFramePtr> artFrames = DecodeVideo(VhookFile("watermark.bmp"));
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(after.size(), before.size());
    ASSERT_EQ(artFrames.size(), 1u);
    const TRgbaPicture art = ToRgba(*artFrames[0]);

    const int width = test.Source.Width, height = test.Source.Height;
    const int markX = width - art.Width - kMargin, markY = kMargin;
    const TArea allowed = OverlayReach(markX, markY, art.Width, art.Height, width, height);
    for (size_t index = 0; index < after.size(); ++index) {
        const AVFrame& in = *before[index];
        const AVFrame& out = *after[index];
        ASSERT_EQ(out.format, in.format);
        ASSERT_EQ(out.width, width);
        ASSERT_EQ(out.height, height);
        const TArea changed = ChangedArea(in, out);
        EXPECT_FALSE(changed.Empty()) << "frame " << index;
        EXPECT_TRUE(changed.Within(allowed)) << "frame " << index << ": changed " << changed.X0 << ","
                                             << changed.Y0 << " to " << changed.X1 << "," << changed.Y1;
        if (test.Mode == 0 && !IsRgb(out) && !IsGray(out)) {
            EXPECT_TRUE(SameChroma(in, out)) << "frame " << index;
        }

        const TRgbaPicture outRgb = ToRgba(out);
        if (test.Mode == 1) {
            const TArtComparison drawn = CompareDrawnArt(art, outRgb, markX, markY, 12);
            EXPECT_GT(drawn.Compared, 20) << "frame " << index;
            EXPECT_EQ(drawn.FirstMismatch, "") << "frame " << index;
            continue;
        }
        // The relief moves every channel by the same amount, half the mark's distance from mid
        // grey, so the frame keeps its own colour. Checked where the picture below leaves room.
        const TRgbaPicture inRgb = ToRgba(in);
        int checked = 0;
        for (int y = 0; y < art.Height; ++y) {
            for (int x = 0; x < art.Width; ++x) {
                const int px = markX + x, py = markY + y;
                if (px < 0 || py >= height || !SolidArtPixel(art, x, y)) continue;
                const double expected = (Lightness(art.At(x, y)) - 128) / 2;
                const auto shown = outRgb.At(px, py), under = inRgb.At(px, py);
                if (ClipsAt(under, expected)) continue;
                for (int c = 0; c < 3; ++c)
                    ASSERT_NEAR(shown[c] - under[c], expected, 6)
                            << "frame " << index << " at " << px << "," << py << " channel " << c;
                ++checked;
            }
        }
        EXPECT_GT(checked, 8) << "frame " << index;
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, WatermarkHookTest, ::testing::ValuesIn(kWatermarkCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// The output starts 120 ms into the source; its pictures come 25 a second from its own start.
TEST(WatermarkPeriodsTest, OnlyThePicturesInsideAPeriodOfTheOutputAreMarked) {
    const std::string source = StagedSource({}), output = testmedia::TempDir("periods") + "/marked.nut";
    const std::string line =
            HookLine({VhookFile("watermark.so"), "-f", VhookFile("watermark.bmp"), "-m", "1"});
    const testmedia::ProcessResult run =
            ConvertWithHooks(source, {line}, output, {"-ss", "0.12", "-vhookperiods", "80-160, 240-1000"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::vector<TFramePtr> before = DecodeVideo(source), after = DecodeVideo(output);
    ASSERT_EQ(after.size() + 3, before.size());  // three pictures lie before the start
    for (std::size_t index = 0; index < after.size(); ++index) {
        const std::size_t milliseconds = index * 40;
        const bool inside = (milliseconds >= 80 && milliseconds < 160) || milliseconds >= 240;
        EXPECT_EQ(ChangedArea(*before[index + 3], *after[index]).Empty(), !inside) << milliseconds << " ms";
    }
}

}  // namespace
}  // namespace kestrova::vhooktest
