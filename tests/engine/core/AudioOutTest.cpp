// The audio output path through whole runs: conversion of layout, rate and format, encoder
// frames up to the last sample, and keeping audio in step with the video.
#include "tests/engine/core/AudioReadback.h"
#include "tests/engine/core/ClipBuilder.h"
#include "tests/engine/core/TranscodeTestSupport.h"

namespace kestrova::testing {
namespace {

TEST_F(RunTest, StereoWavToMonoMp3AtHalfTheRateKeepsPitchAndLength) {
    const std::string input = TClipBuilder("wav", 2.0).Audio(44100, 2).Path();
    const std::string output = TestFolder() + "/mono.mp3";
    Prepare(input, {{"acodec", "libmp3lame"}, {"ar", "22050"}, {"ac", "1"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const TDecodedAudio audio = DecodeAudio(output);
    ASSERT_TRUE(audio.Opened);
    EXPECT_EQ(audio.SampleRate, 22050);
    EXPECT_EQ(audio.Channels, 1);
    EXPECT_NEAR(audio.Seconds(), 2.0, 0.1);
    // The mono mix of the equal 440 Hz and 880 Hz tones rises through zero twice per 440 Hz
    // period; a rate mistake would halve or double this.
    const size_t skip = audio.FirstChannel.size() / 10;
    const double frequency = testmedia::EstimateFrequency(
            audio.FirstChannel.data() + skip, audio.FirstChannel.size() - 2 * skip, audio.SampleRate);
    EXPECT_NEAR(frequency, 2 * testmedia::ToneFrequency(0), 5.0);
}

TEST_F(RunTest, WmaToAacInMp4KeepsEverySampleWithinOneFrame) {
    const std::string input = TClipBuilder("wma", 2.0).Path();
    const std::string output = TestFolder() + "/wma.mp4";
    Prepare(input, {{"acodec", "aac"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const TDecodedAudio source = DecodeAudio(input);
    const TDecodedAudio result = DecodeAudio(output);
    ASSERT_TRUE(result.Opened);
    ASSERT_GT(source.Seconds(), 1.9);
    ASSERT_EQ(result.SampleRate, source.SampleRate);
    // Nothing lost at the end (the fifo's remainder, the encoder's held-back frames); at most the
    // encoder's one frame of priming more, which the container may not trim when the stream
    // starts late (the decoder dates its first samples a few packets in).
    EXPECT_GE(result.FirstChannel.size(), source.FirstChannel.size());
    EXPECT_LE(result.FirstChannel.size(), source.FirstChannel.size() + 1024);
    // The tone is still there: the first channel's 440 Hz.
    const size_t skip = result.FirstChannel.size() / 10;
    EXPECT_NEAR(testmedia::EstimateFrequency(result.FirstChannel.data() + skip,
                                             result.FirstChannel.size() - 2 * skip, result.SampleRate),
                testmedia::ToneFrequency(0), 5.0);
}

// The clip's audio starts a second after its video: audio sync fills the gap with silence, so
// the audio covers the video's whole length.
TEST_F(RunTest, AudioStartingLateIsPaddedWithSilenceUnderAudioSync) {
    TClipBuilder clip("mp4", 3.0);
    clip.Value.audioOffset = 1.0;
    const std::string output = TestFolder() + "/async.mkv";
    Prepare(clip.Path(), {{"async", "1000"}, {"acodec", "aac"}, {"vcodec", "mpeg4"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const TProbedFile result = ProbeFile(output);
    ASSERT_TRUE(result.Opened);
    const TProbedStream* video = result.First(AVMEDIA_TYPE_VIDEO);
    const TProbedStream* audio = result.First(AVMEDIA_TYPE_AUDIO);
    ASSERT_NE(video, nullptr);
    ASSERT_NE(audio, nullptr);
    EXPECT_NEAR(audio->Duration(), video->Duration(), 0.1);
    const TDecodedAudio decoded = DecodeAudio(output);
    // Silence first, then the tone.
    ASSERT_GT(decoded.SampleRate, 0);
    const auto rate = static_cast<size_t>(decoded.SampleRate);
    float loudest = 0;
    for (size_t i = rate / 10; i < rate * 8 / 10; ++i)
        loudest = std::max(loudest, std::abs(decoded.FirstChannel[i]));
    EXPECT_LT(loudest, 0.01f);
    EXPECT_NEAR(testmedia::EstimateFrequency(decoded.FirstChannel.data() + rate * 3 / 2, rate,
                                             decoded.SampleRate),
                testmedia::ToneFrequency(0), 5.0);
}

// DV fills every frame with a fixed amount of sound: resampled sound must be timed as it leaves
// the converter, or a frame comes up short and the muxer refuses the next picture.
TEST_F(RunTest, ResampledSoundFillsEveryDvFrame) {
    testmedia::ClipSpec spec;
    spec.format = "flv";
    spec.duration = 2.0;
    spec.width = 160;
    spec.height = 120;
    const std::string input = testmedia::Clip(spec);
    const std::string output = TestFolder() + "/camcorder.dv";
    Prepare(input,
            {{"f", "dv"},
             {"vcodec", "dvvideo"},
             {"s", "720x576"},
             {"r", "25"},
             {"acodec", "pcm_s16le"},
             {"ar", "48000"},
             {"ac", "2"}},
            output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const TProbedFile probe = ProbeFile(output);
    ASSERT_TRUE(probe.Opened);
    const TProbedStream* video = probe.First(AVMEDIA_TYPE_VIDEO);
    ASSERT_NE(video, nullptr);
    EXPECT_NEAR(video->Packets, 50, 1);
}

TEST_F(RunTest, ProgressComesWithGrowingTimesAndALastReport) {
    const std::string input = TClipBuilder("wav", 3.0).Path();
    Prepare(input, {{"acodec", "aac"}}, TestFolder() + "/progress.m4a");
    std::vector<TJobProgress> reports;
    job.OnProgress = [&](TCustomFFmpeg&, const TJobProgress& progress) { reports.push_back(progress); };
    job.SetProgressInterval(0);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    ASSERT_GE(reports.size(), 3u);
    for (size_t i = 1; i < reports.size(); ++i)
        EXPECT_GE(reports[i].CurrentDuration, reports[i - 1].CurrentDuration);
    EXPECT_GE(reports[reports.size() - 2].InputIndex, 0);
    const TJobProgress& last = reports.back();
    EXPECT_EQ(last.InputIndex, -1);
    EXPECT_NEAR(static_cast<double>(last.CurrentDuration) / 1000000, 3.0, 0.1);
    EXPECT_NEAR(static_cast<double>(last.TotalDuration) / 1000000, 3.0, 0.1);
}

}  // namespace
}  // namespace kestrova::testing
