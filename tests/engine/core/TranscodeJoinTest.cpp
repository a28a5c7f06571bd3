// Join mode: the inputs are played one after another into one output with one header and one
// trailer, every stream's timestamps growing across the switch.
#include "tests/engine/core/TranscodeTestSupport.h"

namespace kestrova::testing {
namespace {

TEST_F(RunTest, JoinOfTwoClipsCopiesBothIntoOneFile) {
    const std::string first = RunClip("f4v", 5.0);
    testmedia::ClipSpec secondSpec;  // another clip of the same kind, so the two are told apart
    secondSpec.format = "f4v";
    secondSpec.duration = 5.0;
    secondSpec.width = 160;
    secondSpec.height = 120;
    secondSpec.sampleRate = 48000;
    const std::string second = testmedia::Clip(secondSpec);
    const std::string output = TestFolder() + "/joined.mp4";
    ASSERT_TRUE(job.AddInputFile(first)) << job.LastError();
    ASSERT_TRUE(job.AddInputFile(second)) << job.LastError();
    job.ApplyOption("vcodec", "copy");
    job.ApplyOption("acodec", "copy");
    ASSERT_EQ(job.AddOutputFile(output, true), 2) << job.LastError();
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    EXPECT_EQ(Notices, 1);
    // The second input starts where the first ended: nothing had to be moved.
    EXPECT_FALSE(LoggedContaining("Non-monotonic"));

    const TProbedFile a = ProbeFile(first);
    const TProbedFile b = ProbeFile(second);
    const TProbedFile joined = ProbeFile(output);
    ASSERT_TRUE(joined.Opened);
    ASSERT_EQ(joined.Streams.size(), 2u);
    EXPECT_NEAR(joined.Duration, 10.0, 0.15);
    for (AVMediaType kind : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
        const TProbedStream& stream = *joined.First(kind);
        EXPECT_TRUE(stream.DtsIncreasing) << MediaKindName(kind);
        EXPECT_EQ(stream.Packets, a.First(kind)->Packets + b.First(kind)->Packets) << MediaKindName(kind);
        EXPECT_NEAR(stream.Duration(), 10.0, 0.15) << MediaKindName(kind);
    }
}

// Re-encoded join: the decoders are drained at each switch and the encoders start afresh, the
// frame count carrying on.
TEST_F(RunTest, JoinOfThreeClipsReencodesThemOneAfterAnother) {
    const std::string clip = RunClip("flv", 1.0);
    const std::string output = TestFolder() + "/joined.mkv";
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(job.AddInputFile(clip)) << job.LastError();
    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("acodec", "mp2");
    ASSERT_EQ(job.AddOutputFile(output, true), 3) << job.LastError();
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    EXPECT_FALSE(LoggedContaining("Non-monotonic"));

    const TProbedFile source = ProbeFile(clip);
    const TProbedFile joined = ProbeFile(output);
    ASSERT_TRUE(joined.Opened);
    const TProbedStream& video = *joined.First(AVMEDIA_TYPE_VIDEO);
    EXPECT_EQ(video.Codec, AV_CODEC_ID_MPEG4);
    EXPECT_EQ(video.Packets, 3 * source.First(AVMEDIA_TYPE_VIDEO)->Packets);
    EXPECT_TRUE(video.DtsIncreasing);
    EXPECT_NEAR(video.Duration(), 3.0, 0.1);
    const TProbedStream& audio = *joined.First(AVMEDIA_TYPE_AUDIO);
    EXPECT_EQ(audio.Codec, AV_CODEC_ID_MP2);
    EXPECT_TRUE(audio.DtsIncreasing);
    EXPECT_NEAR(audio.Duration(), 3.0, 0.15);
}

}  // namespace
}  // namespace kestrova::testing
