// Opening inputs on generated clips: the streams found, the defaults taken into the pending
// settings, discarding, seeking, the total duration, and the consumed settings.
#include "tests/engine/core/JobTestSupport.h"

#include "tests/engine/core/ClipBuilder.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace kestrova::testing {
namespace {

using InputsTest = JobTest;

const AVFormatContext& Input(const TCustomFFmpeg& job, int index) {
    return *job.Files().InputFiles[index];
}

// The kinds of the file's streams, in the order video, audio (whatever the file's order).
std::vector<AVMediaType> StreamKinds(const AVFormatContext& context) {
    std::vector<AVMediaType> kinds;
    for (unsigned i = 0; i < context.nb_streams; ++i)
        kinds.push_back(context.streams[i]->codecpar->codec_type);
    std::sort(kinds.begin(), kinds.end());
    return kinds;
}

// The first stream of a kind.
const AVStream& StreamOf(const AVFormatContext& context, AVMediaType kind) {
    for (unsigned i = 0; i < context.nb_streams; ++i)
        if (context.streams[i]->codecpar->codec_type == kind) return *context.streams[i];
    throw std::runtime_error("no stream of that kind");
}

// Time of the first packet read, in seconds.
double FirstPacketSeconds(const AVFormatContext& context) {
    PacketPtr packet(ff::av_packet_alloc());
    auto* readable = const_cast<AVFormatContext*>(&context);
    while (ff::av_read_frame(readable, packet.get()) >= 0) {
        const AVStream* stream = context.streams[packet->stream_index];
        const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        ff::av_packet_unref(packet.get());
        if (ts != AV_NOPTS_VALUE) return ts * av_q2d(stream->time_base);
    }
    return -1;
}

struct TKindCase {
    std::string Format;
    std::vector<AVMediaType> Kinds;
};

class InputKindTest : public JobTest, public ::testing::WithParamInterface<TKindCase> {};

TEST_P(InputKindTest, OpensAndFindsTheStreams) {
    const TKindCase& kind = GetParam();
    const std::string path = TClipBuilder(kind.Format, 1).Size(160, 120).Path();
    ASSERT_TRUE(job.AddInputFile(path)) << job.LastError();
    EXPECT_EQ(job.NbInputFiles(), 1);
    EXPECT_EQ(job.LastError(), "");
    const AVFormatContext& input = Input(job, 0);
    EXPECT_EQ(StreamKinds(input), kind.Kinds);
    EXPECT_EQ(job.Files().NbInputCodecs, static_cast<int>(input.nb_streams));
    ASSERT_EQ(job.Files().InputStreamContexts[0].size(), input.nb_streams);
    for (unsigned i = 0; i < input.nb_streams; ++i)
        EXPECT_EQ(job.Files().InputStreamContexts[0][i]->codec_id, input.streams[i]->codecpar->codec_id);
    EXPECT_GT(job.TotalDuration(), 900000);
    EXPECT_LT(job.TotalDuration(), 1300000);
    EXPECT_TRUE(LoggedContaining("Input #0")) << "the file's description is logged";
}

INSTANTIATE_TEST_SUITE_P(EveryInputKind, InputKindTest,
                         ::testing::Values(TKindCase{"flv", {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}},
                                           TKindCase{"f4v", {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}},
                                           TKindCase{"mp4", {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}},
                                           TKindCase{"mp4-mpeg4", {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}},
                                           TKindCase{"mp3", {AVMEDIA_TYPE_AUDIO}},
                                           TKindCase{"wma", {AVMEDIA_TYPE_AUDIO}},
                                           TKindCase{"wav", {AVMEDIA_TYPE_AUDIO}}),
                         [](const ::testing::TestParamInfo<TKindCase>& info) {
                             std::string name = info.param.Format;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

TEST_F(InputsTest, VideoInputSetsThePendingSizeRateAndAspect) {
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("flv", 1).Size(640, 360).Rate("25").Path())) << job.LastError();
    EXPECT_EQ(job.PendingVideo().FrameWidth, 640);
    EXPECT_EQ(job.PendingVideo().FrameHeight, 360);
    EXPECT_EQ(job.PendingVideo().FrameRate.num, 25);
    EXPECT_EQ(job.PendingVideo().FrameRate.den, 1);
    EXPECT_FLOAT_EQ(job.PendingVideo().FrameAspectRatio, 640.0f / 360.0f);
    EXPECT_EQ(job.PendingVideo().PixelFormat, AV_PIX_FMT_YUV420P);
}

TEST_F(InputsTest, AudioOnlyInputLeavesTheVideoSettingsAlone) {
    job.ApplyOption("s", "320x240");
    job.ApplyOption("r", "30");
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("wav", 1).Audio(22050, 1).Path())) << job.LastError();
    EXPECT_EQ(job.PendingVideo().FrameWidth, 320);
    EXPECT_EQ(job.PendingVideo().FrameHeight, 240);
    EXPECT_EQ(job.PendingVideo().FrameRate.num, 30);
    EXPECT_EQ(job.PendingAudio().SampleRate, 22050);
    EXPECT_EQ(job.PendingAudio().Channels, 1);
    EXPECT_EQ(job.PendingAudio().SampleFormat, AV_SAMPLE_FMT_S16);
}

TEST_F(InputsTest, DisabledKindsAreDiscarded) {
    job.ApplyOption("vn", "");
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("flv", 1).Size(160, 120).Path()));
    const AVFormatContext& input = Input(job, 0);
    EXPECT_EQ(StreamOf(input, AVMEDIA_TYPE_VIDEO).discard, AVDISCARD_ALL);
    EXPECT_NE(StreamOf(input, AVMEDIA_TYPE_AUDIO).discard, AVDISCARD_ALL);

    job.ApplyOption("vn", "0");
    job.ApplyOption("an", "");
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("mp4", 1).Size(160, 120).Path()));
    const AVFormatContext& second = Input(job, 1);
    EXPECT_NE(StreamOf(second, AVMEDIA_TYPE_VIDEO).discard, AVDISCARD_ALL);
    EXPECT_EQ(StreamOf(second, AVMEDIA_TYPE_AUDIO).discard, AVDISCARD_ALL);
}

TEST_F(InputsTest, StartTimeSeeksTheFirstInputOnly) {
    const std::string path = TClipBuilder("mp4-mpeg4", 12).Size(96, 64).Rate("10").Path();
    job.ApplyOption("ss", "10");
    ASSERT_TRUE(job.AddInputFile(path)) << job.LastError();
    EXPECT_EQ(job.RunSettings().StartTime, 0) << "the start time is used up by one input";
    ASSERT_TRUE(job.AddInputFile(path)) << job.LastError();

    const int64_t start = Input(job, 0).start_time == AV_NOPTS_VALUE ? 0 : Input(job, 0).start_time;
    EXPECT_EQ(job.Files().InputFilesTsOffset[0], -(10000000 + start));
    EXPECT_EQ(job.Files().InputFilesTsOffset[1], -start);
    EXPECT_GT(FirstPacketSeconds(Input(job, 0)), 5.0);
    EXPECT_LT(FirstPacketSeconds(Input(job, 1)), 0.5);
}

TEST_F(InputsTest, TimestampOffsetFollowsCopyts) {
    const std::string path = TClipBuilder("wav", 1).Path();
    job.ApplyOption("itsoffset", "2");
    job.ApplyOption("copyts", "");
    ASSERT_TRUE(job.AddInputFile(path));
    EXPECT_EQ(job.Files().InputFilesTsOffset[0], 2000000);
}

TEST_F(InputsTest, LongerSecondInputRaisesTheTotalDuration) {
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("mp3", 2).Path()));
    const int64_t first = job.TotalDuration();
    EXPECT_NEAR(static_cast<double>(first), 2000000.0, 200000.0);
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("mp3", 1).Path()));
    EXPECT_EQ(job.TotalDuration(), first) << "a shorter input leaves it";
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("mp3", 3).Path()));
    EXPECT_NEAR(static_cast<double>(job.TotalDuration()), 3000000.0, 200000.0);
}

TEST_F(InputsTest, InputConsumesFormatCodecNamesAndVideoChannel) {
    job.ApplyOption("f", "flv");
    job.ApplyOption("vcodec", "flv");
    job.ApplyOption("acodec", "mp3float");
    job.ApplyOption("vc", "3");
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("flv", 1).Size(160, 120).Path())) << job.LastError();
    EXPECT_EQ(job.Files().FileFormat, "");
    EXPECT_EQ(job.PendingVideo().CodecName, "");
    EXPECT_EQ(job.PendingAudio().CodecName, "");
    EXPECT_EQ(job.PendingVideo().Channel, 0);
    ASSERT_EQ(job.Files().NbInputCodecs, 2);
    // The input codec table follows the file's stream order.
    const AVFormatContext& input = Input(job, 0);
    for (int i = 0; i < 2; ++i) {
        const bool video = input.streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
        EXPECT_STREQ(job.Files().InputCodecs[i]->name, video ? "flv" : "mp3float");
    }
}

TEST_F(InputsTest, DecoderNamesAreChecked) {
    const std::string path = TClipBuilder("flv", 1).Size(160, 120).Path();
    job.ApplyOption("vcodec", "nosuchdecoder");
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_EQ(job.LastError(), "Unknown decoder 'nosuchdecoder'");
    EXPECT_EQ(job.PendingVideo().CodecName, "") << "cleared on failure too";

    job.ApplyOption("acodec", "h264");
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_EQ(job.LastError(), "Invalid decoder type 'h264'");
    EXPECT_EQ(job.NbInputFiles(), 0);
    EXPECT_EQ(job.Files().NbInputCodecs, 0);

    EXPECT_TRUE(job.AddInputFile(path)) << "the job is still usable";
}

TEST_F(InputsTest, GenericDecodingOptionsReachTheDecoderContexts) {
    job.ApplyOption("flags2", "+fast");
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("mp4", 1).Size(160, 120).Path()));
    const AVStream& video = StreamOf(Input(job, 0), AVMEDIA_TYPE_VIDEO);
    EXPECT_TRUE(job.Files().InputStreamContexts[0][video.index]->flags2 & AV_CODEC_FLAG2_FAST);
}

TEST_F(InputsTest, KindsOfTheInputs) {
    EXPECT_FALSE(job.InputKinds(false).HasVideo);
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("mp3", 1).Path()));
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("flv", 1).Size(160, 120).Path()));
    const TInputKinds all = job.InputKinds(false);
    EXPECT_TRUE(all.HasVideo);
    EXPECT_TRUE(all.HasAudio);
    EXPECT_FALSE(all.HasSubtitle);
    const TInputKinds first = job.InputKinds(true);
    EXPECT_FALSE(first.HasVideo);
    EXPECT_TRUE(first.HasAudio);
}

TEST_F(InputsTest, NonAsciiFileName) {
    const std::string source = TClipBuilder("wav", 1).Path();
    const std::string folder = testmedia::TempDir("inputs_non_ascii");
    const std::string path = folder + "/Überspielung – клип.wav";
    std::filesystem::copy_file(source, path);
    ASSERT_TRUE(job.AddInputFile(path)) << job.LastError();
    EXPECT_EQ(StreamKinds(Input(job, 0)), std::vector<AVMediaType>{AVMEDIA_TYPE_AUDIO});
}

TEST_F(InputsTest, ResetClosesTheInputs) {
    ASSERT_TRUE(job.AddInputFile(TClipBuilder("wav", 1).Path()));
    job.ResetJob();
    EXPECT_EQ(job.NbInputFiles(), 0);
    EXPECT_EQ(job.Files().InputFiles[0], nullptr);
    EXPECT_TRUE(job.Files().InputStreamContexts[0].empty());
    EXPECT_EQ(job.TotalDuration(), -1);
}

TEST_F(InputsTest, TwentyInputsAtMost) {
    const std::string path = TClipBuilder("wav", 0.2).Path();
    for (int i = 0; i < kMaxFiles; ++i) ASSERT_TRUE(job.AddInputFile(path)) << i;
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_EQ(job.LastError(), "max input files 20 reached");
    EXPECT_EQ(job.NbInputFiles(), kMaxFiles);
}

}  // namespace
}  // namespace kestrova::testing
