// A run that encoded nothing is not a success: the task fails with a message naming the output,
// and the empty output goes, unless a file of that name was there before the run.
#include "tests/engine/core/TranscodeTestSupport.h"

#include <filesystem>
#include <fstream>

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

struct TEmptyCase {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Options;
    bool OutputExistedBefore;
};

class EmptyOutputTest : public RunTest, public ::testing::WithParamInterface<TEmptyCase> {};

TEST_P(EmptyOutputTest, NothingEncodedFailsAndLeavesNoFileOfItsOwn) {
    const TEmptyCase& empty = GetParam();
    const std::string output = TestFolder() + "/out.mkv";
    if (empty.OutputExistedBefore) std::ofstream(output) << "kept";
    Prepare(RunClip("flv", 1.0), empty.Options, output);
    EXPECT_FALSE(Run());
    EXPECT_TRUE(job.RunState().Failed);
    EXPECT_EQ(job.RunState().FailureText, "Output file #0 is empty, nothing was encoded");
    job.ReleaseJob();
    EXPECT_EQ(fs::exists(output), empty.OutputExistedBefore);
}

INSTANTIATE_TEST_SUITE_P(
        Cases, EmptyOutputTest,
        ::testing::Values(
                TEmptyCase{"StartPastTheEnd", {{"ss", "5"}, {"vcodec", "mpeg4"}, {"acodec", "mp2"}}, false},
                TEmptyCase{"StartPastTheEndOfACopy",
                           {{"ss", "5"}, {"vcodec", "copy"}, {"acodec", "copy"}},
                           false},
                TEmptyCase{"OverAnEarlierFile", {{"ss", "5"}, {"vcodec", "mpeg4"}, {"acodec", "mp2"}}, true}),
        [](const ::testing::TestParamInfo<TEmptyCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace kestrova::testing
