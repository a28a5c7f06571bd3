// What resetting a job restores, and the typed setters' handling of unset values.
#include "tests/engine/core/JobTestSupport.h"

namespace kestrova::testing {
namespace {

using JobDefaultsTest = JobTest;

TEST_F(JobDefaultsTest, ResetRestoresEveryDefault) {
    const std::string pristine = DescribeJob(job);
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
                 {"s", "640x360"},    {"croptop", "10"},   {"padleft", "4"},   {"padcolor", "255"},
                 {"r", "30"},         {"qscale", "4"},     {"vcodec", "copy"}, {"acodec", "mp2"},
                 {"vn", ""},          {"ar", "22050"},     {"t", "5"},         {"ss", "2"},
                 {"metadata", "a=b"}, {"map", "0.0"},      {"f", "pgmyuv"},    {"vbsf", "h264_mp4toannexb"},
                 {"vtag", "DIVX"},    {"itsscale", "1:2"}, {"vstats", ""},     {"sws_flags", "neighbor"},
                 {"v", "-1"}}) {
        job.ApplyOption(name, value);
    }
    ASSERT_NE(DescribeJob(job), pristine);
    job.ResetJob();
    EXPECT_EQ(DescribeJob(job), pristine);
    EXPECT_EQ(job.GenericOptions().ScalerFlags(), SWS_BICUBIC);
}

TEST_F(JobDefaultsTest, TypedSettersIgnoreUnsetValues) {
    const std::string before = DescribeJob(job);
    job.SetFrameSize("");
    job.SetFrameRate("");
    job.SetAspectRatio("");
    job.SetCropTop(-1);
    job.SetPadRight(-1);
    job.SetPixelFormat("");
    job.SetSampleRate(-1);
    job.SetChannels(0);
    job.SetVideoCodec("");
    job.SetAudioTag("");
    job.SetSubtitleLanguage("");
    job.SetVideoPreset("");
    job.SetMuxPreload(-1);
    job.SetMuxMaxDelay(0);
    job.SetVolume(-1);
    job.SetStartTime(kNoTimeValue);
    job.SetRecordingTime(kNoTimeValue);
    job.SetProgramId(-1);
    job.SetFileFormat("");
    EXPECT_EQ(DescribeJob(job), before);
}

TEST_F(JobDefaultsTest, TypedSettersApplyTheOptionChecks) {
    job.SetFrameSize("320x240");
    job.SetCropTop(40);
    EXPECT_EQ(job.PendingVideo().FrameHeight, 200);
    EXPECT_NE(ErrorOf([&] { job.SetCropBottom(200); }), "<no exception>");
    EXPECT_EQ(ErrorOf([&] { job.SetVideoTag("AB"); }), "video tag parameter must be 4 chars");
    EXPECT_EQ(ErrorOf([&] { job.SetFrameRate("x"); }), "Incorrect frame rate");
    job.SetPadColor(0xFFFFFF);
    EXPECT_EQ(job.PendingVideo().PadColor, (TYuvColour{255, 128, 128}));
    job.SetVolume(0);
    EXPECT_EQ(job.PendingAudio().Volume, 0) << "0 silences: it is a value, not unset";
    job.SetRecordingTime(3000000);
    EXPECT_EQ(job.TotalDuration(), 3000000);
    job.SetVideoCodec("copy");
    EXPECT_TRUE(job.PendingVideo().StreamCopy);
    job.SetPreview(true);
    job.SetPreviewBitmap(true);
    job.SetPreview(false);
    EXPECT_EQ(job.PreviewFlags(), kPreviewBitmapFlag);
}

}  // namespace
}  // namespace kestrova::testing
