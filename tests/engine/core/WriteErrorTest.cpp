// A device that takes no more bytes: the run fails at the first write the system refuses (once
// the I/O layer's buffer is flushed, not at the trailer after the whole input) and says why in
// the system's words.
#include "tests/engine/core/TranscodeTestSupport.h"

#include <filesystem>

namespace kestrova::testing {
namespace {

struct TFullDeviceCase {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Options;
};

class WriteErrorTest : public RunTest, public ::testing::WithParamInterface<TFullDeviceCase> {};

TEST_P(WriteErrorTest, AFullDeviceEndsTheRunAtOnceWithNoSpaceLeft) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    testmedia::ClipSpec spec;
    spec.format = "flv";
    spec.duration = 20.0;
    int64_t reached = 0;  // the output time of the last progress report
    job.SetProgressInterval(0);
    job.OnProgress = [&reached](TCustomFFmpeg&, const TJobProgress& progress) {
        reached = progress.CurrentDuration;
    };
    Prepare(testmedia::Clip(spec), GetParam().Options, "/dev/full");
    EXPECT_FALSE(Run());
    EXPECT_NE(job.RunState().FailureText.find("No space left on device"), std::string::npos)
            << job.RunState().FailureText;
    EXPECT_EQ(Notices, 1);
    // The I/O layer's buffer (256 KiB for a file) and the muxer's interleaving queue fill within
    // the first seconds; a failure found only at the trailer would come after all 20.
    EXPECT_LT(reached, 10000000) << "of the clip's 20 s";
}

INSTANTIATE_TEST_SUITE_P(
        Muxers, WriteErrorTest,
        ::testing::Values(
                TFullDeviceCase{"Avi",
                                {{"f", "avi"}, {"vcodec", "mpeg4"}, {"qscale", "2"}, {"acodec", "copy"}}},
                TFullDeviceCase{"Mp4",
                                {{"f", "mp4"}, {"vcodec", "mpeg4"}, {"qscale", "2"}, {"acodec", "aac"}}},
                TFullDeviceCase{"TransportStream",
                                {{"f", "mpegts"}, {"vcodec", "mpeg2video"}, {"qscale", "2"}}},
                TFullDeviceCase{"Wave", {{"f", "wav"}, {"vn", "1"}}}),
        [](const ::testing::TestParamInfo<TFullDeviceCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace kestrova::testing
