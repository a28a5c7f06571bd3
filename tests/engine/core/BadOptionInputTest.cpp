// Hostile option input: every name of the vocabulary with an empty value, a value of 10,000
// characters and a long number; empty and very long names. Each either applies or raises
// FFmpegException, never anything else, and the sanitizer build watches the memory.
#include "tests/engine/core/JobTestSupport.h"

#include "engine/core/options/OptionTable.h"

namespace kestrova::testing {
namespace {

class BadOptionInputTest : public JobTest, public ::testing::WithParamInterface<std::string> {};

std::vector<std::string> VocabularyNames() {
    std::vector<std::string> names;
    for (const TOptionTable::TEntry& entry : TOptionTable::Entries()) names.push_back(entry.Name);
    return names;
}

// Applies the pair; fails the test for any exception other than FFmpegException.
void ApplyExpectingAtMostFFmpegException(TCustomFFmpeg& job, const std::string& name,
                                         const std::string& value) {
    try {
        job.ApplyOption(name, value);
    } catch (const FFmpegException& error) {
        EXPECT_FALSE(std::string(error.what()).empty()) << name;
    } catch (const std::exception& error) {
        ADD_FAILURE() << name << " raised a foreign exception: " << error.what();
    }
}

TEST_P(BadOptionInputTest, EmptyLongAndNumericValues) {
    const std::string& name = GetParam();
    ApplyExpectingAtMostFFmpegException(job, name, "");
    ApplyExpectingAtMostFFmpegException(job, name, std::string(10000, 'x'));
    ApplyExpectingAtMostFFmpegException(job, name, std::string(10000, '9'));
    ApplyExpectingAtMostFFmpegException(job, name, "-" + std::string(30, '9'));
    ApplyExpectingAtMostFFmpegException(job, name, std::string(5000, ':') + std::string(5000, '='));
    job.ResetJob();
}

INSTANTIATE_TEST_SUITE_P(EveryOption, BadOptionInputTest, ::testing::ValuesIn(VocabularyNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return "opt_" + info.param;
                         });

using BadOptionNameTest = JobTest;

TEST_F(BadOptionNameTest, EmptyAndLongNamesDoNothing) {
    const std::string before = DescribeJob(job);
    EXPECT_NO_THROW(job.ApplyOption("", ""));
    EXPECT_NO_THROW(job.ApplyOption("", "1"));
    EXPECT_NO_THROW(job.ApplyOption(std::string(10000, 'g'), std::string(10000, '1')));
    EXPECT_NO_THROW(job.ApplyOption("g", std::string(10000, '1')));
    EXPECT_NO_THROW(job.ApplyOption("vcodec", std::string(10000, 'x')));
    EXPECT_NO_THROW(job.ApplyOption(std::string(10000, 'x'), "1"));
    EXPECT_FALSE(job.SetAVOption(std::string(10000, 'v'), "1"));
    job.ApplyOption("vcodec", "");
    EXPECT_EQ(DescribeJob(job), before);
}

TEST_F(BadOptionNameTest, LongValueIsShortenedInTheMessage) {
    const std::string error = ErrorOf([&] { job.ApplyOption("vframes", std::string(10000, 'x')); });
    EXPECT_NE(error.find("vframes"), std::string::npos);
    EXPECT_LT(error.size(), 300u);
}

TEST_F(BadOptionNameTest, PrivateOptionsWithHostileValues) {
    job.ApplyOption("vcodec", "libx264");
    job.ApplyOption("f", "mp4");
    EXPECT_NO_THROW(job.SetAVOption("x264-params", std::string(10000, ':')));
    EXPECT_NO_THROW(job.SetAVOption("movflags", std::string(10000, '+')));
    EXPECT_NO_THROW(job.SetAVOption("crf", std::string(10000, '9')));
}

}  // namespace
}  // namespace kestrova::testing
