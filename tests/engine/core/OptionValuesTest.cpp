// Each kind of option value (boolean, integer, float, time, text) through real option names.
#include "tests/engine/core/JobTestSupport.h"

#include <climits>

namespace kestrova::testing {
namespace {

using OptionValuesTest = JobTest;

TEST_F(OptionValuesTest, BooleanIsFalseOnlyForZero) {
    job.ApplyOption("vn", "");
    EXPECT_TRUE(job.PendingVideo().Disable) << "an empty value means true";
    job.ApplyOption("vn", "0");
    EXPECT_FALSE(job.PendingVideo().Disable);
    job.ApplyOption("vn", "no");
    EXPECT_TRUE(job.PendingVideo().Disable) << "only the exact text 0 is false";
    job.ApplyOption("an", "1");
    job.ApplyOption("sn", "1");
    EXPECT_TRUE(job.PendingAudio().Disable);
    EXPECT_TRUE(job.PendingSubtitle().Disable);
}

TEST_F(OptionValuesTest, CopytsAndXerrorAreSetWhateverTheValue) {
    job.ApplyOption("copyts", "0");
    job.ApplyOption("xerror", "0");
    EXPECT_TRUE(job.RunSettings().CopyTs);
    EXPECT_TRUE(job.RunSettings().ExitOnError);
}

TEST_F(OptionValuesTest, IntegerOptionsStoreTheirNumber) {
    job.ApplyOption("vframes", "250");
    job.ApplyOption("aframes", " 12 ");
    job.ApplyOption("dframes", "-3");
    job.ApplyOption("vsync", "2");
    job.ApplyOption("top", "1");
    job.ApplyOption("vol", "512");
    EXPECT_EQ(job.RunSettings().MaxFrames[fkVideo], 250);
    EXPECT_EQ(job.RunSettings().MaxFrames[fkAudio], 12);
    EXPECT_EQ(job.RunSettings().MaxFrames[fkData], -3);
    EXPECT_EQ(job.RunSettings().MaxFrames[fkSubtitle], INT_MAX);
    EXPECT_EQ(job.RunSettings().VideoSyncMethod, 2);
    EXPECT_EQ(job.PendingVideo().TopFieldFirst, 1);
    EXPECT_EQ(job.PendingAudio().Volume, 512);
}

TEST_F(OptionValuesTest, SampleRateAndChannelsOnlyWhenPositive) {
    job.ApplyOption("ar", "0");
    job.ApplyOption("ac", "-1");
    EXPECT_EQ(job.PendingAudio().SampleRate, 44100);
    EXPECT_EQ(job.PendingAudio().Channels, 2);
    job.ApplyOption("ar", "48000");
    job.ApplyOption("ac", "1");
    EXPECT_EQ(job.PendingAudio().SampleRate, 48000);
    EXPECT_EQ(job.PendingAudio().Channels, 1);
}

TEST_F(OptionValuesTest, FileSizeLimitTakesSixtyFourBits) {
    job.ApplyOption("fs", "5000000000");
    EXPECT_EQ(job.RunSettings().LimitFileSize, 5000000000LL);
}

TEST_F(OptionValuesTest, MalformedIntegerNamesOptionAndValue) {
    for (const char* value : {"abc", "12x", "", "1.5", "99999999999"}) {
        const std::string error = ErrorOf([&] { job.ApplyOption("vframes", value); });
        EXPECT_NE(error, "<no exception>") << value;
        EXPECT_NE(error.find("vframes"), std::string::npos) << error;
        EXPECT_NE(error.find(std::string("\"") + value + "\""), std::string::npos) << error;
    }
    EXPECT_EQ(job.RunSettings().MaxFrames[fkVideo], INT_MAX);
}

TEST_F(OptionValuesTest, FloatOptionsStoreTheirNumber) {
    job.ApplyOption("aq", "3.5");
    job.ApplyOption("adrift_threshold", "0.25");
    job.ApplyOption("dts_delta_threshold", "4");
    job.ApplyOption("muxdelay", "1.5");
    job.ApplyOption("muxpreload", "0.44");
    EXPECT_FLOAT_EQ(job.PendingAudio().QScale, 3.5f);
    EXPECT_FLOAT_EQ(job.RunSettings().AudioDriftThreshold, 0.25f);
    EXPECT_FLOAT_EQ(job.RunSettings().DtsDeltaThreshold, 4.0f);
    EXPECT_FLOAT_EQ(job.RunSettings().MuxMaxDelay, 1.5f);
    EXPECT_FLOAT_EQ(job.RunSettings().MuxPreload, 0.44f);
}

TEST_F(OptionValuesTest, MalformedFloatNamesOptionAndValue) {
    for (const char* value : {"fast", "1,5", "nan", "inf"}) {
        const std::string error = ErrorOf([&] { job.ApplyOption("aq", value); });
        EXPECT_NE(error.find("aq"), std::string::npos) << value << ": " << error;
        EXPECT_NE(error.find(value), std::string::npos) << error;
    }
    EXPECT_FLOAT_EQ(job.PendingAudio().QScale, -99999.0f);
}

TEST_F(OptionValuesTest, DurationSetsRecordingTimeSecondsAndTotalDuration) {
    job.ApplyOption("t", "00:01:02.5");
    EXPECT_EQ(job.RunSettings().RecordingTime, 62500000);
    EXPECT_DOUBLE_EQ(job.RunSettings().RecordingTimeSeconds, 62.5);
    EXPECT_EQ(job.TotalDuration(), 62500000);
    job.ApplyOption("ss", "10");
    job.ApplyOption("itsoffset", "-1.5");
    EXPECT_EQ(job.RunSettings().StartTime, 10000000);
    EXPECT_EQ(job.RunSettings().InputTsOffset, -1500000);
}

TEST_F(OptionValuesTest, MalformedTimeGivesTheSpecificationMessage) {
    EXPECT_EQ(ErrorOf([&] { job.ApplyOption("t", "soon"); }), "Invalid duration specification for t: soon");
    EXPECT_EQ(ErrorOf([&] { job.ApplyOption("ss", ""); }), "Invalid duration specification for ss: ");
    EXPECT_EQ(ErrorOf([&] { job.ApplyOption("timestamp", "yesterday-ish"); }),
              "Invalid date specification for timestamp: yesterday-ish");
    EXPECT_EQ(job.RunSettings().RecordingTime, INT64_MAX);
    EXPECT_EQ(job.TotalDuration(), -1);
}

TEST_F(OptionValuesTest, TimestampIsStoredInSeconds) {
    job.ApplyOption("timestamp", "2020-01-02T03:04:05Z");
    EXPECT_EQ(job.RunSettings().RecordingTimestamp, 1577934245);
}

TEST_F(OptionValuesTest, TextOptionsKeepACopy) {
    job.ApplyOption("vlang", "eng");
    job.ApplyOption("alang", "deu");
    job.ApplyOption("slang", "fra");
    job.ApplyOption("vfilters", "crop=100:100:0:0");
    job.ApplyOption("passlogfile", "/tmp/pass");
    job.ApplyOption("tvstd", "pal");
    job.ApplyOption("vstats_file", "first.log");
    job.ApplyOption("vstats_file", "second.log");
    EXPECT_EQ(job.PendingVideo().Language, "eng");
    EXPECT_EQ(job.PendingAudio().Language, "deu");
    EXPECT_EQ(job.PendingSubtitle().Language, "fra");
    EXPECT_EQ(job.PendingVideo().Filters, "crop=100:100:0:0");
    EXPECT_EQ(job.PendingVideo().PassLogFile, "/tmp/pass");
    EXPECT_EQ(job.PendingVideo().TvStandard, "pal");
    EXPECT_EQ(job.RunSettings().VstatsFileName, "second.log");
}

}  // namespace
}  // namespace kestrova::testing
