// Output streams made from the pending settings, and the options that add one more stream.
#include "tests/engine/core/OutputTestSupport.h"

#include "engine/core/video/SampleAspect.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

namespace kestrova::testing {
namespace {

class OutputStreamsTest : public JobTest {
protected:
    // Adds an output that must succeed; its first stream of `kind`.
    const TOutputStream& AddOutput(const std::string& name, AVMediaType kind = AVMEDIA_TYPE_VIDEO) {
        const int result = job.AddOutputFile(ScratchPath("output-streams", name), false);
        EXPECT_GT(result, 0) << job.LastError();
        const TOutputStream* stream = result > 0 ? FirstStream(job, kind) : nullptr;
        if (!stream) throw std::runtime_error("no stream of the asked kind: " + job.LastError());
        return *stream;
    }
};

TEST_F(OutputStreamsTest, VideoTakesSizeRateAndPadsFromThePendingSettings) {
    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("s", "320x240");
    for (const char* pad : {"padtop", "padbottom"}) job.ApplyOption(pad, "8");
    for (const char* pad : {"padleft", "padright"}) job.ApplyOption(pad, "4");
    const AVCodecContext& codec = *AddOutput("padded.avi").Codec;
    EXPECT_EQ(codec.width, 328);
    EXPECT_EQ(codec.height, 256);
    EXPECT_EQ(codec.time_base.num, 1);
    EXPECT_EQ(codec.time_base.den, 25) << "no rate set: 25 frames per second";
    EXPECT_EQ(codec.codec_id, AV_CODEC_ID_MPEG4);
}

TEST_F(OutputStreamsTest, AnEncoderWithFixedRatesGetsTheNearestUnlessForced) {
    job.ApplyOption("vcodec", "mpeg1video");
    job.ApplyOption("s", "352x288");
    job.ApplyOption("r", "26");
    const AVCodecContext& nearest = *AddOutput("nearest.mpg").Codec;
    EXPECT_EQ(nearest.time_base.num, 1);
    EXPECT_EQ(nearest.time_base.den, 25);

    job.ApplyOption("vcodec", "mpeg1video");
    job.ApplyOption("force_fps", "1");
    job.ApplyOption("newvideo", "");
    const TOutputStream& forced = *job.OutputFile(0)->Streams.back();
    EXPECT_EQ(forced.Codec->time_base.den, 26);
}

TEST_F(OutputStreamsTest, SampleAspectRatioComesFromTheFrameAspectInSmallTerms) {
    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("s", "720x576");
    job.ApplyOption("aspect", "16:9");
    const TOutputStream& stream = AddOutput("wide.avi");
    EXPECT_EQ(stream.Codec->sample_aspect_ratio.num, 64);
    EXPECT_EQ(stream.Codec->sample_aspect_ratio.den, 45);
    EXPECT_EQ(stream.Stream->sample_aspect_ratio.num, 64);

    for (double x : {1.0 / 3.0, 0.7071067811865476, 3.14159265358979, 100.25}) {
        const AVRational fraction = AspectFraction(x);
        EXPECT_LE(std::abs(fraction.num), 255) << x;
        EXPECT_LE(fraction.den, 255) << x;
        EXPECT_NEAR(static_cast<double>(fraction.num) / fraction.den, x, 0.01 * x) << x;
    }
    EXPECT_EQ(SampleAspectRatio(0, 720, 576).num, 0) << "no aspect set: unknown";
    const AVRational unknownSize = SampleAspectRatio(4.0 / 3.0, 0, 0);
    EXPECT_EQ(unknownSize.num, unknownSize.den) << "4:3 of a picture of unknown size: square samples";
}

TEST_F(OutputStreamsTest, FormatsTheEncoderCannotTakeAreReplacedByItsFirst) {
    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("s", "160x120");
    job.ApplyOption("pix_fmt", "rgb24");
    job.ApplyOption("acodec", "mp2");
    job.ApplyOption("sample_fmt", "flt");
    const TOutputStream& video = AddOutput("formats.avi");
    EXPECT_EQ(video.Codec->pix_fmt, AV_PIX_FMT_YUV420P);
    const TOutputStream* audio = FirstStream(job, AVMEDIA_TYPE_AUDIO);
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(audio->Codec->sample_fmt, AV_SAMPLE_FMT_S16);

    job.ApplyOption("vcodec", "ffv1");
    job.ApplyOption("pix_fmt", "yuv444p");
    job.ApplyOption("newvideo", "");
    EXPECT_EQ(job.OutputFile(0)->Streams.back()->Codec->pix_fmt, AV_PIX_FMT_YUV444P)
            << "a listed format stays";
}

TEST_F(OutputStreamsTest, MatricesAndTheOverrideAreTheEncodersOwnCopies) {
    job.ApplyOption("vcodec", "mpeg2video");
    job.ApplyOption("s", "160x120");
    std::string matrix;
    for (int i = 0; i < 64; ++i) {
        if (i) matrix += ',';
        matrix += std::to_string(16 + i);
    }
    job.ApplyOption("intra_matrix", matrix);
    job.ApplyOption("rc_override", "0,10,5/20,30,-50");
    const AVCodecContext& codec = *AddOutput("quality.mpg").Codec;
    std::string ones = "1";
    for (int i = 1; i < 64; ++i) ones += ",1";
    job.ApplyOption("intra_matrix", ones);  // the job's matrix changes, the stream keeps its own
    ASSERT_NE(codec.intra_matrix, nullptr);
    EXPECT_EQ(codec.intra_matrix[0], 16);
    EXPECT_EQ(codec.intra_matrix[63], 79);
    EXPECT_EQ(codec.inter_matrix, nullptr);
    ASSERT_EQ(codec.rc_override_count, 2);
    EXPECT_EQ(codec.rc_override[0].end_frame, 10);
    EXPECT_EQ(codec.rc_override[0].qscale, 5);
    EXPECT_EQ(codec.rc_override[1].start_frame, 20);
    EXPECT_EQ(codec.rc_override[1].qscale, 0);
    EXPECT_FLOAT_EQ(codec.rc_override[1].quality_factor, 0.5f);
}

TEST_F(OutputStreamsTest, AMalformedOverrideFailsTheOutputAndLeavesNothing) {
    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("s", "160x120");
    for (const char* text : {"0,10", "0,10,5/", "a,b,c", "0,10,5,6"}) {
        job.ApplyOption("rc_override", text);
        const std::string out = ScratchPath("output-streams-rc", "bad.avi");
        EXPECT_EQ(job.AddOutputFile(out, false), -1) << text;
        EXPECT_EQ(job.LastError(), "new_video_stream fail: error parsing rc_override") << text;
        EXPECT_EQ(job.NbOutputFiles(), 0);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST_F(OutputStreamsTest, EncoderNamesAreCheckedForTheirKind) {
    job.ApplyOption("vcodec", "nosuchencoder");
    EXPECT_EQ(job.AddOutputFile(ScratchPath("output-streams-names", "a.mp4"), false), -1);
    EXPECT_EQ(job.LastError(), "new_video_stream fail: Unknown encoder 'nosuchencoder'");

    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("acodec", "mpeg4");
    EXPECT_EQ(job.AddOutputFile(ScratchPath("output-streams-names", "b.mp4"), false), -1);
    EXPECT_EQ(job.LastError(), "new_audio_stream fail: Invalid encoder type 'mpeg4'");

    job.ResetJob();
    job.ApplyOption("scodec", "mp2");
    EXPECT_EQ(job.AddOutputFile(ScratchPath("output-streams-names", "c.mkv"), false), -1);
    EXPECT_EQ(job.LastError(), "new_subtitle_stream fail: Invalid encoder type 'mp2'");
}

TEST_F(OutputStreamsTest, ThePendingSettingsOfAStreamAreConsumed) {
    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("s", "160x120");
    job.ApplyOption("vlang", "eng");
    job.ApplyOption("acodec", "copy");
    job.ApplyOption("alang", "fre");
    job.ApplyOption("sn", "");
    const TOutputStream& video = AddOutput("consumed.mkv");
    const TOutputStream* audio = FirstStream(job, AVMEDIA_TYPE_AUDIO);
    ASSERT_NE(audio, nullptr);

    EXPECT_EQ(DictionaryValue(video.Stream->metadata, "language"), "eng");
    EXPECT_EQ(DictionaryValue(audio->Stream->metadata, "language"), "fre");
    EXPECT_TRUE(audio->StreamCopy);
    EXPECT_FALSE(video.StreamCopy);
    EXPECT_EQ(video.Encoder, ff::avcodec_find_encoder_by_name("mpeg4"));
    EXPECT_EQ(job.Files().NbOutputCodecs, 2);
    EXPECT_EQ(job.Files().OutputCodecs[0], video.Encoder);
    EXPECT_EQ(job.PendingVideo().CodecName, "");
    EXPECT_EQ(job.PendingVideo().Language, "");
    EXPECT_EQ(job.PendingAudio().Language, "");
    EXPECT_FALSE(job.PendingAudio().StreamCopy);
}

TEST_F(OutputStreamsTest, NewStreamOptionsAddToTheLastOutput) {
    EXPECT_EQ(ErrorOf([&] { job.ApplyOption("newaudio", ""); }),
              "At least one output file must be specified");
    job.ApplyOption("vn", "");
    ASSERT_EQ(job.AddOutputFile(ScratchPath("output-streams-new", "first.avi"), false), 1) << job.LastError();
    job.ApplyOption("vn", "");
    ASSERT_EQ(job.AddOutputFile(ScratchPath("output-streams-new", "second.avi"), false), 2)
            << job.LastError();

    job.ApplyOption("acodec", "mp2");
    job.ApplyOption("newaudio", "");
    EXPECT_EQ(StreamKinds(job, 0), std::vector{AVMEDIA_TYPE_AUDIO});
    EXPECT_EQ(StreamKinds(job, 1), (std::vector{AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_AUDIO}));
    EXPECT_EQ(job.OutputFile(1)->Context->nb_streams, 2u);

    job.ApplyOption("acodec", "nosuchencoder");
    EXPECT_EQ(ErrorOf([&] { job.ApplyOption("newaudio", ""); }), "Unknown encoder 'nosuchencoder'");
    EXPECT_EQ(job.OutputFile(1)->Context->nb_streams, 2u) << "a failed stream leaves no trace";

    job.ApplyOption("scodec", "copy");
    job.ApplyOption("newsubtitle", "");
    EXPECT_EQ(job.OutputFile(1)->Streams.back()->Kind, AVMEDIA_TYPE_SUBTITLE);
}

TEST_F(OutputStreamsTest, ABitstreamFilterChainBelongsToTheNextStreamOfItsKind) {
    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("s", "160x120");
    job.ApplyOption("vbsf", "null");
    job.ApplyOption("vbsf", "noise");
    const TOutputStream& first = AddOutput("chains.mkv");
    EXPECT_EQ(first.BitstreamFilters.size(), 2u);
    EXPECT_TRUE(job.BitstreamFilters().Video.empty());
    EXPECT_TRUE(FirstStream(job, AVMEDIA_TYPE_AUDIO)->BitstreamFilters.empty());

    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("newvideo", "");
    EXPECT_TRUE(job.OutputFile(0)->Streams.back()->BitstreamFilters.empty());
}

}  // namespace
}  // namespace kestrova::testing
