// Target presets: the norm decision, the settings per target type, and their names against the
// real libraries and real generated inputs.
#include "engine/core/options/TargetPresets.h"
#include "engine/core/FFmpegException.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/LibBindings.h"
#include "engine/frame/UnicodeProtocol.h"
#include "tests/engine/core/ErrorOf.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace kestrova;
using kestrova::testing::ErrorOf;

namespace {

// Records what a target preset asks of the job.
class TFakeJob : public TTargetPresetTarget {
public:
    void ApplyOption(const std::string& name, const std::string& value) override {
        Options.emplace_back(name, value);
        if (name == "aspect") Aspect = true;
    }
    AVRational PendingFrameRate() const override { return Rate; }
    std::vector<AVRational> InputVideoFrameRates() const override { return Inputs; }
    bool AspectRatioSet() const override { return Aspect; }
    void SetSampleRate(int rate) override { SampleRate = rate; }
    int Channels() const override { return ChannelCount; }
    void SetChannels(int channels) override { ChannelCount = channels; }
    void SetMuxPreload(float seconds) override { Preload = seconds; }
    int Verbosity() const override { return VerbosityLevel; }
    void Log(int level, const std::string& message) override { Logs.emplace_back(level, message); }

    // The last value given for an option; "" when never given.
    std::string Value(const std::string& name) const {
        std::string value;
        for (const auto& [key, set] : Options)
            if (key == name) value = set;
        return value;
    }
    bool Logged(int level, const std::string& message) const {
        for (const auto& entry : Logs)
            if (entry == std::make_pair(level, message)) return true;
        return false;
    }

    std::vector<std::pair<std::string, std::string>> Options;
    AVRational Rate{0, 0};
    std::vector<AVRational> Inputs;
    bool Aspect = false;
    int SampleRate = 0;
    int ChannelCount = 2;
    float Preload = -1;
    int VerbosityLevel = 1;
    std::vector<std::pair<int, std::string>> Logs;
};

constexpr int kInfo = 5, kVerbose = 6;

// ---------------------------------------------------------------------------------------------
// The norm.

TEST(TargetNorm, NtscPrefixGivesTheNtscVcd) {
    TFakeJob job;
    job.Inputs = {AVRational{25, 1}};  // an explicit norm beats the inputs
    ApplyTargetOption("ntsc-vcd", job);
    EXPECT_EQ(job.Value("s"), "352x240");
    EXPECT_EQ(job.Value("g"), "18");
    EXPECT_EQ(job.Value("r"), "30000/1001");
    EXPECT_TRUE(job.Logs.size() == 1u && job.Logs[0].second.find("for target") == std::string::npos)
            << "an explicit norm assumes nothing";
}

TEST(TargetNorm, AnInputAt25FramesPerSecondGivesPal) {
    TFakeJob job;
    job.Inputs = {AVRational{25, 1}};
    ApplyTargetOption("vcd", job);
    EXPECT_EQ(job.Value("s"), "352x288");
    EXPECT_EQ(job.Value("g"), "15");
    EXPECT_EQ(job.Value("r"), "25");
    EXPECT_TRUE(job.Logged(kVerbose, "Assuming PAL for target."));
}

TEST(TargetNorm, PendingRateDecidesBeforeTheInputs) {
    for (const AVRational rate : {AVRational{30000, 1001}, AVRational{24000, 1001}}) {
        TFakeJob job;
        job.Rate = rate;
        job.Inputs = {AVRational{25, 1}};
        ApplyTargetOption("dvd", job);
        EXPECT_EQ(job.Value("s"), "720x480");
        EXPECT_EQ(job.Value("r"), "30000/1001");  // a film rate counts as NTSC
        EXPECT_TRUE(job.Logged(kVerbose, "Assuming NTSC for target."));
    }
    TFakeJob job;
    job.Rate = AVRational{50, 2};
    job.Inputs = {AVRational{30000, 1001}};
    ApplyTargetOption("dvd", job);
    EXPECT_EQ(job.Value("s"), "720x576");
}

TEST(TargetNorm, FirstDecidingInputStreamWins) {
    TFakeJob job;
    job.Inputs = {AVRational{0, 0}, AVRational{15, 1}, AVRational{2997, 100}, AVRational{25, 1}};
    ApplyTargetOption("svcd", job);
    EXPECT_EQ(job.Value("s"), "480x480");
}

TEST(TargetNorm, UndecidedFallsBackToTheCallersNorm) {
    TFakeJob option;
    option.Inputs = {AVRational{15, 1}};
    ApplyTargetOption("vcd", option);  // the option's fallback is NTSC
    EXPECT_EQ(option.Value("s"), "352x240");

    const std::vector<std::pair<std::string, std::string>> fallbacks = {
            {"pal", "25"}, {"", "25"}, {"ntsc", "30000/1001"}, {"film", "24000/1001"}};
    for (const auto& [fallback, rate] : fallbacks) {
        TFakeJob job;
        ApplyTargetPreset("vcd", "auto", fallback, job);
        EXPECT_EQ(job.Value("r"), rate) << fallback;
        EXPECT_EQ(job.Value("s"), fallback == "pal" || fallback.empty() ? "352x288" : "352x240") << fallback;
        EXPECT_TRUE(job.Logged(kVerbose, fallback == "pal" || fallback.empty()
                                                 ? "Assuming PAL for target."
                                                 : "Assuming NTSC for target."));
    }
}

TEST(TargetNorm, RateWithZeroDenominatorIsInvalid) {
    TFakeJob job;
    job.Rate = AVRational{25, 0};
    job.Inputs = {AVRational{25, 1}};
    EXPECT_EQ(ErrorOf([&] { ApplyTargetOption("vcd", job); }), "frame_rate is invalid.");
    EXPECT_TRUE(job.Options.empty());
    // An explicit norm never looks at the rate.
    EXPECT_NO_THROW(ApplyTargetOption("pal-vcd", job));
}

TEST(TargetNorm, QuietJobAssumesSilently) {
    TFakeJob job;
    job.VerbosityLevel = 0;
    job.Aspect = true;
    ApplyTargetOption("vcd", job);
    EXPECT_TRUE(job.Logs.empty());
}

// ---------------------------------------------------------------------------------------------
// Settings per type.

TEST(TargetSettings, VcdSetsTheWholeVcdFormat) {
    TFakeJob job;
    ApplyTargetOption(" pal-vcd ", job);
    const std::vector<std::pair<std::string, std::string>> expected = {{"vcodec", "mpeg1video"},
                                                                       {"acodec", "mp2"},
                                                                       {"f", "vcd"},
                                                                       {"s", "352x288"},
                                                                       {"r", "25"},
                                                                       {"g", "15"},
                                                                       {"b", "1150000"},
                                                                       {"maxrate", "1150000"},
                                                                       {"minrate", "1150000"},
                                                                       {"bufsize", "327680"},
                                                                       {"ab", "224000"},
                                                                       {"packetsize", "2324"},
                                                                       {"muxrate", "1411200"},
                                                                       {"aspect", "4:3"}};
    EXPECT_EQ(job.Options, expected);
    EXPECT_EQ(job.SampleRate, 44100);
    EXPECT_EQ(job.ChannelCount, 2);
    EXPECT_FLOAT_EQ(job.Preload, 0.44f);
    EXPECT_TRUE(job.Logged(kInfo, "Assuming 4:3 for aspect ratio"));
}

TEST(TargetSettings, AGivenAspectIsKept) {
    TFakeJob job;
    job.Aspect = true;
    ApplyTargetOption("pal-dvd", job);
    EXPECT_EQ(job.Value("aspect"), "");
    EXPECT_TRUE(job.Logs.empty());
}

TEST(TargetSettings, SvcdAndDvdMakeMonoStereoOnly) {
    for (const char* type : {"svcd", "dvd"}) {
        for (const auto& [before, after] : {std::pair{1, 2}, std::pair{2, 2}, std::pair{6, 6}}) {
            TFakeJob job;
            job.ChannelCount = before;
            ApplyTargetPreset(type, "pal", "pal", job);
            EXPECT_EQ(job.ChannelCount, after) << type << " " << before;
        }
    }
}

TEST(TargetSettings, SvcdAndDvdRatesAndAspects) {
    TFakeJob svcd;
    ApplyTargetOption("ntsc-svcd", svcd);
    EXPECT_EQ(svcd.Value("vcodec"), "mpeg2video");
    EXPECT_EQ(svcd.Value("f"), "svcd");
    EXPECT_EQ(svcd.Value("b"), "2040000");
    EXPECT_EQ(svcd.Value("maxrate"), "2516000");
    EXPECT_EQ(svcd.Value("scan_offset"), "1");
    EXPECT_EQ(svcd.Value("aspect"), "4:3");
    EXPECT_EQ(svcd.SampleRate, 44100);

    TFakeJob dvd;
    ApplyTargetOption("pal-dvd", dvd);
    EXPECT_EQ(dvd.Value("acodec"), "ac3");
    EXPECT_EQ(dvd.Value("muxrate"), "10080000");
    EXPECT_EQ(dvd.Value("packetsize"), "2048");
    EXPECT_EQ(dvd.Value("ab"), "448000");
    EXPECT_EQ(dvd.Value("aspect"), "16:9");
    EXPECT_EQ(dvd.SampleRate, 48000);
    EXPECT_TRUE(dvd.Logged(kInfo, "Assuming 16:9 for aspect ratio"));
}

TEST(TargetSettings, DvPixelFormatsFollowNormAndType) {
    const std::vector<std::pair<std::string, std::string>> cases = {
            {"pal-dv", "yuv420p"}, {"ntsc-dv", "yuv411p"}, {"pal-dv50", "yuv422p"}, {"ntsc-dv50", "yuv422p"}};
    for (const auto& [target, pixelFormat] : cases) {
        TFakeJob job;
        job.ChannelCount = 1;
        ApplyTargetOption(target, job);
        EXPECT_EQ(job.Value("pix_fmt"), pixelFormat) << target;
        EXPECT_EQ(job.Value("f"), "dv");
        EXPECT_EQ(job.Value("s"), target.rfind("pal", 0) == 0 ? "720x576" : "720x480");
        EXPECT_EQ(job.Value("vcodec"), "");
        EXPECT_EQ(job.SampleRate, 48000);
        EXPECT_EQ(job.ChannelCount, 2);
    }
}

TEST(TargetSettings, UnknownTypeIsRefused) {
    TFakeJob job;
    EXPECT_EQ(ErrorOf([&] { ApplyTargetOption("pal-cd", job); }), "Unknown target type");
    EXPECT_EQ(ErrorOf([&] { ApplyTargetOption("PAL-vcd", job); }), "Unknown target type");
    EXPECT_EQ(ErrorOf([&] { ApplyTargetOption("", job); }), "Unknown target type");
}

// ---------------------------------------------------------------------------------------------
// Against the real libraries.

class TargetPresetsWithLibraries : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }
};

// Hands every option to the libraries the way a job would: codec and format names, sizes,
// rates and pixel formats are parsed; every other name must be taken by the pending video or
// audio encoder or the pending muxer (their generic or private options).
class TLibraryJob : public TFakeJob {
public:
    ~TLibraryJob() {
        ff::avcodec_free_context(&FVideo);
        ff::avcodec_free_context(&FAudio);
        ff::avformat_free_context(FFormat);
    }
    void ApplyOption(const std::string& name, const std::string& value) override {
        TFakeJob::ApplyOption(name, value);
        if (name == "vcodec" || name == "acodec") {
            const AVCodec* codec = ff::avcodec_find_encoder_by_name(value.c_str());
            ASSERT_NE(codec, nullptr) << value;
            (name == "vcodec" ? FVideo : FAudio) = ff::avcodec_alloc_context3(codec);
        } else if (name == "f") {
            ASSERT_GE(ff::avformat_alloc_output_context2(&FFormat, nullptr, value.c_str(), nullptr), 0)
                    << value;
        } else if (name == "s") {
            int width = 0, height = 0;
            EXPECT_GE(ff::av_parse_video_size(&width, &height, value.c_str()), 0) << value;
        } else if (name == "r") {
            AVRational rate{};
            EXPECT_GE(ff::av_parse_video_rate(&rate, value.c_str()), 0) << value;
        } else if (name == "pix_fmt") {
            EXPECT_NE(ff::av_get_pix_fmt(value.c_str()), AV_PIX_FMT_NONE) << value;
        } else if (name != "aspect") {
            EXPECT_TRUE(SetSomewhere(name, value)) << "nothing takes " << name << "=" << value;
        }
    }

private:
    bool SetSomewhere(const std::string& name, const std::string& value) {
        for (void* target :
             {static_cast<void*>(FVideo), static_cast<void*>(FAudio), static_cast<void*>(FFormat)})
            if (target && ff::av_opt_set(target, name.c_str(), value.c_str(), AV_OPT_SEARCH_CHILDREN) >= 0)
                return true;
        return false;
    }
    AVCodecContext* FVideo = nullptr;
    AVCodecContext* FAudio = nullptr;
    AVFormatContext* FFormat = nullptr;
};

TEST_F(TargetPresetsWithLibraries, EveryTargetSettingReachesTheLibraries) {
    for (const char* target : {"pal-vcd", "ntsc-svcd", "pal-dvd", "ntsc-dv", "pal-dv50"}) {
        SCOPED_TRACE(target);
        TLibraryJob job;
        ApplyTargetOption(target, job);
        EXPECT_FALSE(job.Options.empty());
    }
}

// The frame rates of an opened input's video streams, as a job reports them.
std::vector<AVRational> VideoRatesOf(const std::string& path) {
    AVFormatContext* raw = nullptr;
    EXPECT_EQ(OpenInputFile(&raw, ToLibraryName(path), nullptr, nullptr), 0) << path;
    InputFilePtr input(raw);
    std::vector<AVRational> rates;
    if (!input) return rates;
    EXPECT_GE(ff::avformat_find_stream_info(input.get(), nullptr), 0);
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (input->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            rates.push_back(input->streams[i]->r_frame_rate);
    return rates;
}

TEST_F(TargetPresetsWithLibraries, GeneratedClipsDecideTheNorm) {
    const std::vector<std::tuple<std::string, std::string, std::string>> clips = {
            {"mp4", "25", "352x288"}, {"flv", "25", "352x288"}, {"mp4", "30000/1001", "352x240"}};
    for (const auto& [format, rate, size] : clips) {
        testmedia::ClipSpec spec;
        spec.format = format;
        spec.rate = rate;
        spec.duration = 1.0;
        spec.width = 160;
        spec.height = 120;
        spec.audio = false;
        TFakeJob job;
        job.Inputs = VideoRatesOf(testmedia::Clip(spec));
        ASSERT_EQ(job.Inputs.size(), 1u);
        ApplyTargetOption("vcd", job);
        EXPECT_EQ(job.Value("s"), size) << format << " at " << rate;
    }
}

}  // namespace
