// Host option records: the option text, what a default record leaves alone, the guards, and a
// record applied to a job whose conversion result is then read back with the probe.
#include "tests/engine/core/TranscodeTestSupport.h"

#include "engine/frame/AVProbe.h"
#include "engine/front/HostOptions.h"

#include <ctime>

namespace kestrova::testing {
namespace {

using THostOptionsTest = RunTest;
using TLines = std::vector<std::pair<std::string, std::string>>;

TEST(OptionTextTest, LinesSplitAtEveryBreakAndAtTheFirstEquals) {
    const TLines lines =
            SplitOptionText("  vcodec=libx264\r\nvpre=default<CRLF>newaudio=\rb= x \n\nmetadata=a=b \n  ");
    const TLines expected{
            {"vcodec", "libx264"}, {"vpre", "default"}, {"newaudio", ""}, {"b", " x "}, {"metadata", "a=b"}};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(OptionPass("newaudio"), 0);
    EXPECT_EQ(OptionPass("vpre"), 1);
    EXPECT_EQ(OptionPass("vcodec"), 2);
}

TEST(OptionTextTest, LocalDateTimeBecomesUnixSeconds) {
    EXPECT_EQ(UnixTimeFromLocalDays(25569.5, 0), 43200);           // 1970-01-01 12:00
    EXPECT_EQ(UnixTimeFromLocalDays(25569.5, -60), 43200 - 3600);  // an hour east of UTC
}

TEST_F(THostOptionsTest, DefaultRecordsLeaveTheJobAsItWas) {
    const std::string before = DescribeJob(job);
    TInputOptions input;
    ApplyInputOptions(job, input, "in.mp4");
    TOutputOptions output;
    ApplyOutputOptions(job, output, "out.mp4");
    EXPECT_EQ(DescribeJob(job), before);
    EXPECT_EQ(input.FileName, "in.mp4");
    EXPECT_EQ(output.FileName, "out.mp4");
    EXPECT_FALSE(job.LimitByLongestStream);
}

TEST_F(THostOptionsTest, FieldsOverrideTheOptionTextAndKeepTheirGuards) {
    TOutputOptions output;
    output.ExtOptions = "ar=22050\nvol=100";
    output.AudioSampleRate = 11025;
    output.Volume = 0;  // silence is a value, not "unset"
    output.AudioChannels = 0;
    ApplyOutputOptions(job, output, "out.mp4");
    EXPECT_EQ(job.PendingAudio().SampleRate, 11025);
    EXPECT_EQ(job.PendingAudio().Volume, 0);
    EXPECT_EQ(job.PendingAudio().Channels, TCustomFFmpeg().PendingAudio().Channels);
}

TEST_F(THostOptionsTest, PresetLinesFollowTheCodecWhateverTheirOrder) {
    TOutputOptions output;
    output.ExtOptions = "vpre=default\nvcodec=libx264";
    EXPECT_NO_THROW(ApplyOutputOptions(job, output, "out.mp4"));
    EXPECT_EQ(job.PendingVideo().CodecName, "libx264");
}

TEST_F(THostOptionsTest, TimestampZeroStampsNow) {
    TOutputOptions output;
    output.Metadata.Timestamp = 0;
    ApplyOutputOptions(job, output, "out.mp4");
    EXPECT_NEAR(static_cast<double>(job.RunSettings().RecordingTimestamp),
                static_cast<double>(std::time(nullptr)), 5);

    output.Metadata.Timestamp = 43831.5;  // 2020-01-01 12:00 local standard time
    ApplyOutputOptions(job, output, "out.mp4");
    tzset();
    EXPECT_EQ(job.RunSettings().RecordingTimestamp,
              UnixTimeFromLocalDays(43831.5, static_cast<int>(timezone / 60)));
    EXPECT_EQ(UnixTimeFromLocalDays(43831.5, 0), 1577880000);
}

TEST_F(THostOptionsTest, ConvertedFileHasWhatTheRecordsAsked) {
    TInputOptions input;
    input.StartTime = 500000;
    ApplyInputOptions(job, input, RunClip("mp4", 2));
    ASSERT_TRUE(job.AddInputFile(input.FileName)) << job.LastError();

    const std::string target = TestFolder() + "/out.mp4";
    TOutputOptions output;
    output.FrameSize = "96x64";
    output.AudioSampleRate = 22050;
    output.AudioChannels = 1;
    output.Duration = 1000000;
    output.Metadata.Title = "Record title";
    output.ExtOptions = "vcodec=mpeg4\nnewaudio=";
    ApplyOutputOptions(job, output, target);
    ASSERT_GT(job.AddOutputFile(output.FileName, output.Join), 0) << job.LastError();
    ApplyOutputOptionsAfterAdd(job, output);
    ASSERT_TRUE(Run()) << job.LastError();

    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(target)) << probe.LastErrMsg();
    EXPECT_EQ(probe.AudioStreamCount(), 2);  // the one made with the file and the added one
    const TVideoStreamInfo video = probe.GetVideoStreamInfo();
    EXPECT_EQ(video.Width, 96);
    EXPECT_EQ(video.Height, 64);
    EXPECT_NE(video.CodecName.find("mpeg4"), std::string::npos);
    const TAudioStreamInfo audio = probe.GetAudioStreamInfo();
    EXPECT_EQ(audio.SampleRate, 22050);
    EXPECT_EQ(audio.Channels, 1);
    const TFileStreamInfo file = probe.GetFileStreamInfo();
    EXPECT_NEAR(file.Duration, 1000000, 200000);  // the rest of the input is 1.5 s
    EXPECT_EQ(file.Title, "Record title");

    // The first picture is the one half a second into the input.
    ASSERT_TRUE(probe.DecodeNextFrame());
    const AVFrame* picture = probe.PictureFrame();
    EXPECT_NEAR(testmedia::FrameNumberFromPicture(picture->data[0], picture->linesize[0], picture->width,
                                                  picture->height),
                12, 1);
}

}  // namespace
}  // namespace kestrova::testing
