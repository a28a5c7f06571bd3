// Stream copy end to end: generated clips copied into other containers keep their streams,
// codecs and duration, start at a key frame, and the run logs how it mapped the streams.
#include "tests/engine/core/TranscodeTestSupport.h"

#include <cmath>

namespace kestrova::testing {
namespace {

class CopyIntoContainer : public RunTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CopyIntoContainer, KeepsStreamsCodecsAndDuration) {
    const std::string input = RunClip("f4v", 2.0);
    const std::string output = TestFolder() + "/copy." + GetParam();
    Prepare(input, {{"vcodec", "copy"}, {"acodec", "copy"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    EXPECT_FALSE(job.RunState().Failed);

    const TProbedFile source = ProbeFile(input);
    const TProbedFile copy = ProbeFile(output);
    ASSERT_TRUE(copy.Opened);
    ASSERT_EQ(copy.Streams.size(), source.Streams.size());
    for (AVMediaType kind : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
        ASSERT_NE(copy.First(kind), nullptr) << MediaKindName(kind);
        EXPECT_EQ(copy.First(kind)->Codec, source.First(kind)->Codec) << MediaKindName(kind);
        EXPECT_NEAR(copy.First(kind)->Duration(), source.First(kind)->Duration(), 0.1) << MediaKindName(kind);
        EXPECT_TRUE(copy.First(kind)->DtsIncreasing) << MediaKindName(kind);
    }
    EXPECT_NEAR(copy.Duration, source.Duration, 0.1);
    EXPECT_EQ(copy.First(AVMEDIA_TYPE_VIDEO)->Packets, source.First(AVMEDIA_TYPE_VIDEO)->Packets);
    EXPECT_TRUE(copy.First(AVMEDIA_TYPE_VIDEO)->FirstPacketKey);
}

INSTANTIATE_TEST_SUITE_P(F4v, CopyIntoContainer, ::testing::Values("mp4", "mkv", "flv"));

TEST_F(RunTest, Mp3CopiedIntoMp3KeepsEveryFrame) {
    const std::string input = RunClip("mp3", 2.0, false, true);
    const std::string output = TestFolder() + "/copy.mp3";
    Prepare(input, {{"acodec", "copy"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const TProbedFile source = ProbeFile(input);
    const TProbedFile copy = ProbeFile(output);
    ASSERT_TRUE(copy.Opened);
    ASSERT_EQ(copy.Streams.size(), 1u);
    EXPECT_EQ(copy.Streams[0].Codec, AV_CODEC_ID_MP3);
    EXPECT_EQ(copy.Streams[0].Packets, source.Streams[0].Packets);
    EXPECT_NEAR(copy.Duration, source.Duration, 0.1);
    EXPECT_EQ(job.Statistics().AudioSize > 0, true);
}

TEST_F(RunTest, LogsTheStreamMapping) {
    const std::string input = RunClip("f4v", 1.0);
    Prepare(input, {{"vcodec", "copy"}, {"acodec", "copy"}, {"map", "0.0"}, {"map", "0.1:0.0"}},
            TestFolder() + "/mapped.mkv");
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    EXPECT_TRUE(Logged(llVerbose, "Stream mapping:"));
    EXPECT_TRUE(Logged(llVerbose, "  Stream #0.0 -> #0.0 (Video)"));
    EXPECT_TRUE(Logged(llVerbose, "  Stream #0.1 -> #0.1 (Audio) [sync #0.0 (Video)]"));
}

// A copy starts at the first key frame of its input: a start time between key frames drops the
// pictures before the next one instead of writing undecodable ones.
TEST_F(RunTest, CopiedVideoStartsAtAKeyFrame) {
    const std::string input = RunClip("f4v", 2.0);
    const std::string output = TestFolder() + "/late.mkv";
    ASSERT_TRUE(job.AddInputFile(input)) << job.LastError();
    job.ApplyOption("ss", "0.5");  // after the input: not a seek, frames before it are dropped
    job.ApplyOption("vcodec", "copy");
    job.ApplyOption("an", "1");
    ASSERT_GT(job.AddOutputFile(output, false), 0) << job.LastError();
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const TProbedFile copy = ProbeFile(output);
    ASSERT_TRUE(copy.Opened);
    ASSERT_NE(copy.First(AVMEDIA_TYPE_VIDEO), nullptr);
    EXPECT_TRUE(copy.First(AVMEDIA_TYPE_VIDEO)->FirstPacketKey);
    EXPECT_LT(copy.First(AVMEDIA_TYPE_VIDEO)->Packets, ProbeFile(input).First(AVMEDIA_TYPE_VIDEO)->Packets);
}

// The input's timestamp offset ("itsoffset") and a stream's scale ("itsscale") move the
// packets' times on their way out.
TEST_F(RunTest, InputOffsetAndScaleMoveTheCopiedTimestamps) {
    const std::string input = RunClip("f4v", 2.0);
    const std::string output = TestFolder() + "/moved.mkv";
    job.ApplyOption("itsoffset", "1.5");
    job.ApplyOption("itsscale", "0:2");
    ASSERT_TRUE(job.AddInputFile(input)) << job.LastError();
    job.ApplyOption("vcodec", "copy");
    job.ApplyOption("acodec", "copy");
    ASSERT_GT(job.AddOutputFile(output, false), 0) << job.LastError();
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const TProbedFile source = ProbeFile(input);
    const TProbedFile moved = ProbeFile(output);
    ASSERT_TRUE(moved.Opened);
    const TProbedStream& video = *moved.First(AVMEDIA_TYPE_VIDEO);
    const TProbedStream& audio = *moved.First(AVMEDIA_TYPE_AUDIO);
    // Audio keeps its pace, shifted by the offset; video counts twice as slowly.
    EXPECT_NEAR(audio.PacketSeconds(audio.FirstPts), 1.5, 0.05);
    EXPECT_NEAR(audio.Duration(), source.First(AVMEDIA_TYPE_AUDIO)->Duration(), 0.05);
    EXPECT_NEAR(video.Duration(), 2 * source.First(AVMEDIA_TYPE_VIDEO)->Duration(), 0.1);
    EXPECT_GT(video.PacketSeconds(video.FirstPts), 1.5);
}

}  // namespace
}  // namespace kestrova::testing
