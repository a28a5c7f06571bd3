// Presets and target presets applied through the job, up to the output stream they shape.
#include "tests/engine/core/OutputTestSupport.h"

#include "engine/core/options/BuiltInPresets.h"

#include <gtest/gtest.h>

#include <mutex>

namespace kestrova::testing {
namespace {

class PresetOptionsTest : public JobTest {};

// Every built-in preset, applied after vcodec libx264, leaves options with which the output
// stream's encoder really opens, and the encoder takes every option kept for it.
TEST_F(PresetOptionsTest, EveryBuiltInPresetOpensLibx264) {
    if (!ff::avcodec_find_encoder_by_name("libx264")) GTEST_SKIP() << "no libx264 in these libraries";
    const std::string folder = testmedia::TempDir("preset-options-x264");
    for (const TBuiltInPreset& preset : BuiltInPresets()) {
        const std::string name(preset.Name);
        SCOPED_TRACE(name);
        job.ResetJob();
        job.ApplyOption("s", "160x120");
        job.ApplyOption("vcodec", "libx264");
        job.ApplyOption("vpre", name.substr(std::string("libx264-").size()));
        job.ApplyOption("an", "");
        ASSERT_EQ(job.AddOutputFile(folder + "/" + name + ".mp4", false), 1) << job.LastError();
        const TOutputStream* stream = FirstStream(job, AVMEDIA_TYPE_VIDEO);
        ASSERT_NE(stream, nullptr);
        AVDictionary* options = nullptr;
        ff::av_dict_copy(&options, stream->EncoderOptions.get(), 0);
        DictionaryPtr left;
        int opened = 0;
        {
            std::lock_guard lock(CodecLock());
            opened = ff::avcodec_open2(stream->Codec.get(), stream->Encoder, &options);
        }
        left.reset(options);
        EXPECT_EQ(opened, 0);
        EXPECT_EQ(ff::av_dict_count(left.get()), 0)
                << "an option the encoder did not take: "
                << ff::av_dict_get(left.get(), "", nullptr, AV_DICT_IGNORE_SUFFIX)->key;
    }
}

TEST_F(PresetOptionsTest, PresetNamesAreCompletedWithTheCodecName) {
    EXPECT_EQ(ErrorOf([&] { job.ApplyOption("vpre", "default"); }), "Preset \"default\" not found");
    job.SetVideoCodec("libx264");
    job.SetVideoPreset("default");
    EXPECT_EQ(job.GenericOptions().CodecDefaults(AVMEDIA_TYPE_VIDEO)->gop_size, 250);
    EXPECT_EQ(ErrorOf([&] { job.ApplyOption("apre", "default"); }), "Preset \"default\" not found");
}

TEST_F(PresetOptionsTest, NtscVcdTarget) {
    job.ApplyOption("target", "ntsc-vcd");
    const TPendingVideo& video = job.PendingVideo();
    EXPECT_EQ(video.FrameWidth, 352);
    EXPECT_EQ(video.FrameHeight, 240);
    EXPECT_EQ(Describe(video.FrameRate), "30000/1001");
    EXPECT_EQ(job.GenericOptions().CodecDefaults(AVMEDIA_TYPE_VIDEO)->gop_size, 18);

    ASSERT_EQ(job.AddOutputFile(ScratchPath("preset-options-vcd", "ntsc.mpg"), false), 1) << job.LastError();
    const TOutputFile& file = *job.OutputFile(0);
    EXPECT_STREQ(file.Context->oformat->name, "vcd");
    EXPECT_EQ(file.Context->packet_size, 2324u);
    EXPECT_EQ(DictionaryValue(file.MuxerOptions.get(), "muxrate"), "1411200");
    EXPECT_EQ(DictionaryValue(file.MuxerOptions.get(), "preload"), "440000");
    const TOutputStream* stream = FirstStream(job, AVMEDIA_TYPE_VIDEO);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Codec->codec_id, AV_CODEC_ID_MPEG1VIDEO);
    EXPECT_EQ(stream->Codec->width, 352);
    EXPECT_EQ(stream->Codec->height, 240);
    EXPECT_EQ(stream->Codec->gop_size, 18);
    EXPECT_EQ(stream->Codec->time_base.num, 1001);
    EXPECT_EQ(stream->Codec->time_base.den, 30000);
    EXPECT_EQ(stream->Codec->bit_rate, 1150000);
    EXPECT_EQ(stream->Codec->sample_aspect_ratio.num * 352 * 3,
              stream->Codec->sample_aspect_ratio.den * 240 * 4)
            << "4:3 assumed";
    const TOutputStream* audio = FirstStream(job, AVMEDIA_TYPE_AUDIO);
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(audio->Codec->codec_id, AV_CODEC_ID_MP2);
    EXPECT_EQ(audio->Codec->sample_rate, 44100);
    EXPECT_EQ(audio->Codec->bit_rate, 224000);
}

TEST_F(PresetOptionsTest, VcdTargetFollowsAPalInput) {
    ASSERT_TRUE(job.AddInputFile(SmallClip("mp4", 1.0, true, true, "25"))) << job.LastError();
    job.ApplyOption("target", "vcd");
    EXPECT_EQ(job.PendingVideo().FrameWidth, 352);
    EXPECT_EQ(job.PendingVideo().FrameHeight, 288);
    EXPECT_EQ(job.GenericOptions().CodecDefaults(AVMEDIA_TYPE_VIDEO)->gop_size, 15);
    EXPECT_TRUE(Logged(llVerbose, "Assuming PAL for target."));
}

}  // namespace
}  // namespace kestrova::testing
