// What ends a run before its inputs do: the recording time "t", the size limit "fs", the frame
// limits and "shortest"; each is a normal end of the run.
#include "tests/engine/core/TranscodeTestSupport.h"

namespace kestrova::testing {
namespace {

TEST_F(RunTest, RecordingTimeEndsEveryStreamAtItWithinOnePacket) {
    const std::string input = RunClip("f4v", 10.0);
    const std::string output = TestFolder() + "/two.mp4";
    Prepare(input, {{"vcodec", "copy"}, {"acodec", "copy"}, {"t", "2"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const TProbedFile result = ProbeFile(output);
    ASSERT_TRUE(result.Opened);
    const TProbedFile source = ProbeFile(input);
    for (AVMediaType kind : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
        const TProbedStream* stream = result.First(kind);
        ASSERT_NE(stream, nullptr);
        const double packet = source.First(kind)->Duration() / source.First(kind)->Packets;
        EXPECT_NEAR(stream->Duration(), 2.0, packet + 1e-3) << MediaKindName(kind);
    }
    EXPECT_NEAR(result.Duration, 2.0, 0.1);
}

// With the longest-stream flag the most advanced stream decides: the least advanced one has
// not reached the time yet when the run ends, but nothing runs past it by more than a packet.
TEST_F(RunTest, RecordingTimeByTheMostAdvancedStreamEndsNoLater) {
    const std::string input = RunClip("f4v", 10.0);
    const std::string output = TestFolder() + "/longest.mkv";
    Prepare(input, {{"vcodec", "copy"}, {"acodec", "copy"}, {"t", "2"}}, output);
    job.LimitByLongestStream = true;
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const TProbedFile result = ProbeFile(output);
    ASSERT_TRUE(result.Opened);
    EXPECT_LE(result.First(AVMEDIA_TYPE_VIDEO)->Duration(), 2.05);
    EXPECT_LE(result.First(AVMEDIA_TYPE_AUDIO)->Duration(), 2.05);
    EXPECT_GT(result.First(AVMEDIA_TYPE_VIDEO)->Duration(), 1.8);
}

TEST_F(RunTest, SizeLimitStopsOnceTheOutputIsPastIt) {
    const std::string input = RunClip("f4v", 10.0);
    const std::string folder = TestFolder();
    Prepare(input, {{"vcodec", "copy"}, {"acodec", "copy"}}, folder + "/whole.mkv");
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::uintmax_t whole = FileSize(folder + "/whole.mkv");

    job.ResetJob();
    const std::uintmax_t limit = whole / 3;
    Prepare(input, {{"vcodec", "copy"}, {"acodec", "copy"}, {"fs", std::to_string(limit)}},
            folder + "/limited.mkv");
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::uintmax_t limited = FileSize(folder + "/limited.mkv");
    EXPECT_GT(limited, limit);
    EXPECT_LT(limited, whole / 2);
    const TProbedFile result = ProbeFile(folder + "/limited.mkv");
    ASSERT_TRUE(result.Opened);  // ended with its trailer
    EXPECT_LT(result.Duration, 6.0);
}

TEST_F(RunTest, VideoFrameLimitEndsTheRunAtThatFrame) {
    const std::string input = RunClip("f4v", 4.0);
    const std::string output = TestFolder() + "/frames.mkv";
    Prepare(input, {{"vcodec", "copy"}, {"acodec", "copy"}, {"vframes", "30"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const TProbedFile result = ProbeFile(output);
    ASSERT_TRUE(result.Opened);
    EXPECT_EQ(result.First(AVMEDIA_TYPE_VIDEO)->Packets, 30);
    EXPECT_LT(result.First(AVMEDIA_TYPE_AUDIO)->Duration(), 1.5);
}

// Two inputs, the video from a 4 s clip and the audio from a 1 s one: "shortest" ends the run
// with the shorter input.
TEST_F(RunTest, ShortestEndsWithTheFirstInputThatEnds) {
    const std::string video = RunClip("f4v", 4.0, true, false);
    const std::string audio = RunClip("mp3", 1.0, false, true);
    const std::string folder = TestFolder();
    for (bool shortest : {false, true}) {
        job.ResetJob();
        job.OnTerminate = nullptr;
        ASSERT_TRUE(job.AddInputFile(video)) << job.LastError();
        ASSERT_TRUE(job.AddInputFile(audio)) << job.LastError();
        job.ApplyOption("vcodec", "copy");
        job.ApplyOption("acodec", "copy");
        if (shortest) job.ApplyOption("shortest", "1");
        const std::string output = folder + (shortest ? "/shortest.mkv" : "/longest.mkv");
        ASSERT_GT(job.AddOutputFile(output, false), 0) << job.LastError();
        ASSERT_TRUE(Run()) << job.RunState().FailureText;
        const TProbedFile result = ProbeFile(output);
        ASSERT_TRUE(result.Opened);
        if (shortest)
            EXPECT_LT(result.First(AVMEDIA_TYPE_VIDEO)->Duration(), 1.6);
        else
            EXPECT_NEAR(result.First(AVMEDIA_TYPE_VIDEO)->Duration(), 4.0, 0.1);
    }
}

}  // namespace
}  // namespace kestrova::testing
