// The front's picture hook over a whole conversion: what the callback draws reaches the encoded
// pictures while it leaves `update` set; a callback that raises leaves that one picture as it
// was and is called again for the next; one that asks to stop is not called again in the run.
#include "engine/frame/EngineBitmap.h"
#include "tests/engine/core/PictureReadback.h"
#include "tests/engine/core/TranscodeTestSupport.h"

#include <cstring>
#include <stdexcept>

namespace kestrova::testing {
namespace {

// What the callback does on the call numbered `SpecialCall` (from 1); every other call paints
// the bitmap white and keeps the defaults.
enum class THookAction { PaintWithoutUpdate, PaintAndStop, PaintAndRaise };

struct THookCase {
    const char* Name;
    int SpecialCall;  // 0: none
    THookAction Action;
    int StopsAfter;  // calls before the hook goes for good; 0: it never goes
};

class CustomHookTest : public RunTest, public ::testing::WithParamInterface<THookCase> {};

// White in the bitmap is luma 235 in the encoded picture; the generator's pattern is not.
bool PaintedWhite(const TDecodedPicture& picture) {
    return picture.Number == -1 && picture.CornerY > 225;
}

TEST_P(CustomHookTest, DrawnPicturesReachTheEncoderAsTheCallbackDecides) {
    const THookCase& hookCase = GetParam();
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/hooked.mp4";
    int calls = 0;
    uint32_t lastFrameNumber = 0;
    bool frameNumbersConsecutive = true;
    bool bitmapsOfThePictureSize = true;
    job.OnCustomHook = [&](TCustomFFmpeg&, TEngineBitmap& bitmap, bool& stopHook, bool& update, int64_t,
                           uint32_t frameNumber) {
        ++calls;
        frameNumbersConsecutive &= frameNumber == lastFrameNumber + 1;
        lastFrameNumber = frameNumber;
        bitmapsOfThePictureSize &= bitmap.Width() == 160 && bitmap.Height() == 120;
        for (int y = 0; y < bitmap.Height(); ++y) std::memset(bitmap.Line(y), 0xFF, bitmap.Width() * 3);
        if (calls != hookCase.SpecialCall) return;
        switch (hookCase.Action) {
            case THookAction::PaintWithoutUpdate:
                update = false;
                break;
            case THookAction::PaintAndStop:
                stopHook = true;
                break;
            case THookAction::PaintAndRaise:
                throw std::runtime_error("boom");
        }
    };
    Prepare(input, {{"vcodec", "mpeg4"}, {"qscale", "2"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), 25u);
    EXPECT_EQ(calls, hookCase.StopsAfter > 0 ? hookCase.StopsAfter : 25);
    EXPECT_TRUE(frameNumbersConsecutive);
    EXPECT_TRUE(bitmapsOfThePictureSize);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int call = static_cast<int>(i) + 1;
        const bool unchanged =
                (call == hookCase.SpecialCall && hookCase.Action != THookAction::PaintAndStop) ||
                (hookCase.StopsAfter > 0 && call > hookCase.StopsAfter);
        if (unchanged)
            EXPECT_EQ(pictures[i].Number, static_cast<int>(i)) << "picture " << i;
        else
            EXPECT_TRUE(PaintedWhite(pictures[i])) << "picture " << i;
    }
    EXPECT_EQ(Logged(llError, "Error occurs OnCustomHook: boom"),
              hookCase.Action == THookAction::PaintAndRaise && hookCase.SpecialCall > 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, CustomHookTest,
                         ::testing::Values(THookCase{"EveryPicturePainted", 0, THookAction::PaintAndStop, 0},
                                           THookCase{"OnePictureNotUpdated", 5,
                                                     THookAction::PaintWithoutUpdate, 0},
                                           THookCase{"StopAfterTheThird", 3, THookAction::PaintAndStop, 3},
                                           THookCase{"RaiseOnTheSecond", 2, THookAction::PaintAndRaise, 0}),
                         [](const ::testing::TestParamInfo<THookCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace kestrova::testing
