// Sizes, bands and pads are checked before they reach any arithmetic: values beyond what a
// picture can have are refused with the option's message and leave the job as it was.
#include "tests/engine/core/JobTestSupport.h"

namespace kestrova::testing {
namespace {

struct TBoundCase {
    const char* Name;
    const char* Option;
    const char* Value;
    const char* Message;  // "<no exception>": taken
};

class OptionBoundsTest : public JobTest, public ::testing::WithParamInterface<TBoundCase> {};

TEST_P(OptionBoundsTest, ValuesBeyondAPictureAreRefused) {
    const TBoundCase& bound = GetParam();
    const std::string before = DescribeJob(job);
    const std::string message = ErrorOf([&] { job.ApplyOption(bound.Option, bound.Value); });
    EXPECT_EQ(message, bound.Message);
    if (message != "<no exception>") {
        EXPECT_EQ(DescribeJob(job), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
        Cases, OptionBoundsTest,
        ::testing::Values(TBoundCase{"HugePad", "padtop", "2147483647",
                                     "Invalid integer value \"2147483647\" for option \"padtop\""},
                          TBoundCase{"HugeCrop", "cropleft", "99999",
                                     "Invalid integer value \"99999\" for option \"cropleft\""},
                          TBoundCase{"HugeFrameSize", "s", "2147483640x240", "Incorrect frame size"},
                          TBoundCase{"LargestPad", "padleft", "16384", "<no exception>"},
                          TBoundCase{"LargestFrameSize", "s", "16384x16384", "<no exception>"}),
        [](const ::testing::TestParamInfo<TBoundCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace kestrova::testing
