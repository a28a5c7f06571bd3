// Generic library options: which default context (or private option list) an option reaches,
// what is remembered, and how remembered options are copied onto real codecs.
#include "tests/engine/core/JobTestSupport.h"

namespace kestrova::testing {
namespace {

using GenericOptionsTest = JobTest;

AVCodecContext* Defaults(const TCustomFFmpeg& job, AVMediaType kind) {
    return job.GenericOptions().CodecDefaults(kind);
}

std::string PrivateValue(const AVDictionary* options, const char* name) {
    const AVDictionaryEntry* entry = ff::av_dict_get(options, name, nullptr, 0);
    return entry ? entry->value : "<none>";
}

TEST_F(GenericOptionsTest, UnknownOptionNameReachesTheVideoContext) {
    job.ApplyOption("g", "250");
    EXPECT_EQ(Defaults(job, AVMEDIA_TYPE_VIDEO)->gop_size, 250);
    EXPECT_TRUE(job.SetAVOptionInt("bf", 3));
    EXPECT_EQ(Defaults(job, AVMEDIA_TYPE_VIDEO)->max_b_frames, 3);
    const auto& names = job.GenericOptions().SetNames();
    EXPECT_EQ(names, (std::vector<std::string>{"g", "bf"}));
}

TEST_F(GenericOptionsTest, EmptyOrUnknownGivesFalse) {
    EXPECT_FALSE(job.SetAVOption("", "1"));
    EXPECT_FALSE(job.SetAVOption("g", ""));
    EXPECT_FALSE(job.SetAVOption("  ", "  "));
    EXPECT_FALSE(job.SetAVOption("nosuchoption", "1"));
    EXPECT_TRUE(job.GenericOptions().SetNames().empty());
}

TEST_F(GenericOptionsTest, RefusedValueIsLoggedAndGivesFalse) {
    EXPECT_FALSE(job.SetAVOption("g", "many"));
    EXPECT_TRUE(Logged(llError, "Invalid value \"many\" for option \"g\""));
    EXPECT_EQ(Defaults(job, AVMEDIA_TYPE_VIDEO)->gop_size, 12) << "library default kept";
    EXPECT_TRUE(job.GenericOptions().SetNames().empty());
}

TEST_F(GenericOptionsTest, VideoBitRateStaysOffTheAudioContext) {
    const int64_t audioDefault = Defaults(job, AVMEDIA_TYPE_AUDIO)->bit_rate;
    job.ApplyOption("b", "1500000");
    EXPECT_EQ(Defaults(job, AVMEDIA_TYPE_VIDEO)->bit_rate, 1500000);
    EXPECT_EQ(Defaults(job, AVMEDIA_TYPE_AUDIO)->bit_rate, audioDefault);
    job.ApplyOption("ab", "96000");
    EXPECT_EQ(Defaults(job, AVMEDIA_TYPE_AUDIO)->bit_rate, 96000);
    EXPECT_EQ(Defaults(job, AVMEDIA_TYPE_VIDEO)->bit_rate, 1500000);
}

TEST_F(GenericOptionsTest, KindPrefixReachesTheContextOfThatKind) {
    job.ApplyOption("vb", "800000");
    EXPECT_EQ(Defaults(job, AVMEDIA_TYPE_VIDEO)->bit_rate, 800000);
    // Remembered under the name the library knows, so that it can be copied later.
    EXPECT_EQ(job.GenericOptions().SetNames(), (std::vector<std::string>{"b"}));
    EXPECT_TRUE(job.SetAVOption("aflags", "+global_header"));
    EXPECT_TRUE(Defaults(job, AVMEDIA_TYPE_AUDIO)->flags & AV_CODEC_FLAG_GLOBAL_HEADER);
}

TEST_F(GenericOptionsTest, LowBitRateWarns) {
    job.ApplyOption("b", "500");
    EXPECT_TRUE(Logged(llWarning, "WARNING: The bitrate parameter is set too low. It takes "
                                  "bits/s as argument, not kbits/s"));
}

TEST_F(GenericOptionsTest, BitRateOfAThousandDoesNotWarn) {
    job.ApplyOption("b", "1000");
    job.ApplyOption("ab", "64000");
    EXPECT_FALSE(LoggedContaining("bitrate parameter is set too low"));
}

TEST_F(GenericOptionsTest, LowAudioBitRateWarnsFromTheAudioContext) {
    job.ApplyOption("b", "800000");
    job.ApplyOption("ab", "64");
    EXPECT_TRUE(LoggedContaining("bitrate parameter is set too low"));
}

TEST_F(GenericOptionsTest, FormatAndScalerOptions) {
    EXPECT_TRUE(job.SetAVOption("packetsize", "2324"));
    EXPECT_EQ(job.GenericOptions().FormatDefaults()->packet_size, 2324u);
    EXPECT_TRUE(job.SetAVOption("sws_flags", "bilinear"));
    EXPECT_EQ(job.GenericOptions().ScalerFlags(), SWS_BILINEAR);
}

TEST_F(GenericOptionsTest, EncoderPrivateOptionIsKeptForThePendingEncoder) {
    EXPECT_FALSE(job.SetAVOption("crf", "23")) << "no encoder knows crf yet";
    job.ApplyOption("vcodec", "libx264");
    job.ApplyOption("crf", "23");
    job.ApplyOption("preset", "veryfast");
    const AVDictionary* kept = job.GenericOptions().EncoderPrivateOptions(AVMEDIA_TYPE_VIDEO);
    EXPECT_EQ(PrivateValue(kept, "crf"), "23");
    EXPECT_EQ(PrivateValue(kept, "preset"), "veryfast");
    EXPECT_EQ(job.GenericOptions().EncoderPrivateOptions(AVMEDIA_TYPE_AUDIO), nullptr);
    EXPECT_TRUE(job.GenericOptions().SetNames().empty()) << "not a generic option";
}

TEST_F(GenericOptionsTest, EncoderPrivateValueIsChecked) {
    job.ApplyOption("vcodec", "libx264");
    EXPECT_FALSE(job.SetAVOption("crf", "high"));
    EXPECT_TRUE(Logged(llError, "Invalid value \"high\" for option \"crf\""));
    EXPECT_EQ(job.GenericOptions().EncoderPrivateOptions(AVMEDIA_TYPE_VIDEO), nullptr);
}

TEST_F(GenericOptionsTest, EncoderPrivateOptionsOfTheAudioEncoder) {
    job.ApplyOption("acodec", "aac");
    EXPECT_TRUE(job.SetAVOption("aac_coder", "fast"));
    EXPECT_EQ(PrivateValue(job.GenericOptions().EncoderPrivateOptions(AVMEDIA_TYPE_AUDIO), "aac_coder"),
              "fast");
}

TEST_F(GenericOptionsTest, MuxerPrivateOptionOfThePendingFormat) {
    EXPECT_FALSE(job.SetAVOption("movflags", "+faststart"));
    job.ApplyOption("f", "mp4");
    EXPECT_TRUE(job.SetAVOption("movflags", "+faststart"));
    EXPECT_EQ(PrivateValue(job.GenericOptions().MuxerPrivateOptions(), "movflags"), "+faststart");
}

TEST_F(GenericOptionsTest, DebugOptionSwitchesTheLoggerToDebug) {
    TFFLogger::Instance().SetLogLevel(llInfo);
    EXPECT_TRUE(job.SetAVOption("debug", "pict"));
    EXPECT_EQ(TFFLogger::Instance().LogLevel(), llDebug);
}

TEST_F(GenericOptionsTest, RememberedOptionsAreCopiedByKindFlags) {
    job.ApplyOption("g", "250");
    job.ApplyOption("b", "900000");
    job.ApplyOption("ab", "128000");
    job.ApplyOption("flags", "+global_header");

    CodecContextPtr videoEncoder(ff::avcodec_alloc_context3(nullptr));
    job.GenericOptions().CopyCodecOptions(AVMEDIA_TYPE_VIDEO, videoEncoder.get(), kVideoEncoderFlags);
    EXPECT_EQ(videoEncoder->gop_size, 250);
    EXPECT_EQ(videoEncoder->bit_rate, 900000);
    EXPECT_TRUE(videoEncoder->flags & AV_CODEC_FLAG_GLOBAL_HEADER);

    CodecContextPtr audioEncoder(ff::avcodec_alloc_context3(nullptr));
    audioEncoder->gop_size = 7;
    job.GenericOptions().CopyCodecOptions(AVMEDIA_TYPE_AUDIO, audioEncoder.get(), kAudioEncoderFlags);
    EXPECT_EQ(audioEncoder->bit_rate, 128000);
    EXPECT_EQ(audioEncoder->gop_size, 7) << "g is a video option only";

    FormatContextPtr output(ff::avformat_alloc_context());
    job.ApplyOption("packetsize", "2048");
    job.GenericOptions().CopyFormatOptions(output.get(), kOutputFormatFlags);
    EXPECT_EQ(output->packet_size, 2048u);
}

TEST_F(GenericOptionsTest, ResetForgetsEverySetOption) {
    job.ApplyOption("g", "250");
    job.ApplyOption("vcodec", "libx264");
    job.ApplyOption("crf", "20");
    job.ResetJob();
    EXPECT_TRUE(job.GenericOptions().SetNames().empty());
    EXPECT_EQ(Defaults(job, AVMEDIA_TYPE_VIDEO)->gop_size, 12);
    EXPECT_EQ(job.GenericOptions().EncoderPrivateOptions(AVMEDIA_TYPE_VIDEO), nullptr);
}

}  // namespace
}  // namespace kestrova::testing
