// A device that takes no more bytes: the run fails and says why in the system's words.
#include "tests/engine/core/TranscodeTestSupport.h"

#include <filesystem>

namespace kestrova::testing {
namespace {

using WriteErrorTest = RunTest;

TEST_F(WriteErrorTest, AFullDeviceEndsTheRunWithNoSpaceLeft) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    Prepare(RunClip("flv", 2.0), {{"f", "avi"}, {"vcodec", "mpeg4"}, {"qscale", "2"}, {"acodec", "copy"}},
            "/dev/full");
    EXPECT_FALSE(Run());
    EXPECT_NE(job.RunState().FailureText.find("No space left on device"), std::string::npos)
            << job.RunState().FailureText;
    EXPECT_EQ(Notices, 1);
}

}  // namespace
}  // namespace kestrova::testing
