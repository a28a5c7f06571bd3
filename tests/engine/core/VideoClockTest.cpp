// The video frame clock of a constant-rate output: an input offset asked for at the start is
// filled with the first picture, however long it is next to the discontinuity threshold (only
// a jump of the input's own timestamps past that threshold moves the clock instead; the
// robustness suite's damaged inputs cover that side).
#include "tests/engine/core/TranscodeTestSupport.h"

namespace kestrova::testing {
namespace {

struct TOffsetCase {
    const char* Name;
    const char* Offset;     // seconds, "itsoffset"
    const char* Threshold;  // seconds, "dts_delta_threshold"
    double Expected;        // seconds of video in the output
};

class VideoClockTest : public RunTest, public ::testing::WithParamInterface<TOffsetCase> {};

TEST_P(VideoClockTest, AnInputOffsetAtTheStartIsFilled) {
    const TOffsetCase& offset = GetParam();
    const std::string output = TestFolder() + "/offset.avi";
    job.ApplyOption("itsoffset", offset.Offset);
    job.ApplyOption("dts_delta_threshold", offset.Threshold);
    Prepare(RunClip("flv", 1.0, true, false), {{"vcodec", "mpeg4"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const TProbedFile probe = ProbeFile(output);
    ASSERT_NE(probe.First(AVMEDIA_TYPE_VIDEO), nullptr);
    EXPECT_NEAR(probe.First(AVMEDIA_TYPE_VIDEO)->Duration(), offset.Expected, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Cases, VideoClockTest,
                         ::testing::Values(TOffsetCase{"LongerThanTheThreshold", "12", "10", 13.0},
                                           TOffsetCase{"WithASmallThreshold", "3", "0.5", 4.0},
                                           TOffsetCase{"NoOffset", "0", "0.5", 1.0}),
                         [](const ::testing::TestParamInfo<TOffsetCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace kestrova::testing
