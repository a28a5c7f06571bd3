// Sizes, bands, pads and times are checked before they reach any arithmetic: values beyond what a
// picture can have, or times beyond what the containers' 32-bit millisecond clocks hold, are
// refused with the option's message and leave the job as it was.
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
                          TBoundCase{"LargestFrameSize", "s", "16384x16384", "<no exception>"},
                          TBoundCase{"HugeInputOffset", "itsoffset", "9223372036854",
                                     "Invalid duration specification for itsoffset: 9223372036854"},
                          TBoundCase{"HugeNegativeInputOffset", "itsoffset", "-2147483.648",
                                     "Invalid duration specification for itsoffset: -2147483.648"},
                          TBoundCase{"LargestInputOffset", "itsoffset", "-2147483.647", "<no exception>"},
                          TBoundCase{"HugeStartTime", "ss", "596:31:23.648",
                                     "Invalid duration specification for ss: 596:31:23.648"},
                          TBoundCase{"HugeRecordingTime", "t", "2147483.648",
                                     "Invalid duration specification for t: 2147483.648"},
                          TBoundCase{"LargestRecordingTime", "t", "596:31:23.647", "<no exception>"},
                          TBoundCase{"HugeMuxDelay", "muxdelay", "2147.484",
                                     "Invalid floating-point value \"2147.484\" for option \"muxdelay\""},
                          TBoundCase{"HugeMuxPreload", "muxpreload", "1e300",
                                     "Invalid floating-point value \"1e300\" for option \"muxpreload\""}),
        [](const ::testing::TestParamInfo<TBoundCase>& info) { return info.param.Name; });

// The host's records reach the same settings through the typed setters, with the same bounds.
struct TSetterCase {
    const char* Name;
    std::function<void(TCustomFFmpeg&)> Set;
    const char* Message;
};

class SetterBoundsTest : public JobTest, public ::testing::WithParamInterface<TSetterCase> {};

TEST_P(SetterBoundsTest, TimesBeyondTheLimitAreRefused) {
    const std::string before = DescribeJob(job);
    EXPECT_EQ(ErrorOf([&] { GetParam().Set(job); }), GetParam().Message);
    EXPECT_EQ(DescribeJob(job), before);
}

INSTANTIATE_TEST_SUITE_P(
        Cases, SetterBoundsTest,
        ::testing::Values(
                TSetterCase{"StartTime", [](TCustomFFmpeg& j) { j.SetStartTime(INT64_MAX); },
                            "Invalid duration specification for ss: 9223372036854.775807"},
                TSetterCase{"RecordingTime", [](TCustomFFmpeg& j) { j.SetRecordingTime(INT64_MIN + 1); },
                            "Invalid duration specification for t: -9223372036854.775807"},
                TSetterCase{"MuxDelay", [](TCustomFFmpeg& j) { j.SetMuxMaxDelay(1e6f); },
                            "Invalid floating-point value \"1000000.000000\" for option \"muxdelay\""}),
        [](const ::testing::TestParamInfo<TSetterCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace kestrova::testing
