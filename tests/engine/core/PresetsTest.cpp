// Presets: lookup, preset text and its messages, and every built-in preset on a real libx264.
#include "engine/core/options/Presets.h"
#include "engine/core/FFmpegException.h"
#include "engine/core/options/BuiltInPresets.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/LibBindings.h"
#include "tests/engine/core/ErrorOf.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace kestrova;
using kestrova::testing::ErrorOf;

namespace {

// Records what a preset asks of the job; options named in `refused` are refused.
class TRecordingTarget : public TPresetTarget {
public:
    std::string CodecName(char kind) const override {
        const auto found = Codecs.find(kind);
        return found == Codecs.end() ? std::string() : found->second;
    }
    void SetCodecName(char kind, const std::string& name) override { Codecs[kind] = name; }
    bool SetAVOption(const std::string& name, const std::string& value) override {
        if (name == Refused) return false;
        Options.emplace_back(name, value);
        return true;
    }

    std::map<char, std::string> Codecs;
    std::vector<std::pair<std::string, std::string>> Options;
    std::string Refused;
};

// ---------------------------------------------------------------------------------------------
// The table and the lookup.

TEST(BuiltInPresetTable, LookupIgnoresLetterCase) {
    EXPECT_EQ(BuiltInPresets().size(), 16u);
    const TBuiltInPreset* preset = FindBuiltInPreset("LibX264-Default");
    ASSERT_NE(preset, nullptr);
    EXPECT_EQ(preset->Name, "libx264-default");
    EXPECT_EQ(FindBuiltInPreset("default"), nullptr);
    EXPECT_EQ(FindBuiltInPreset("libx264-default "), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Applying presets.

TEST(PresetOption, ShortNameFindsThePresetOfTheKindsCodec) {
    TRecordingTarget job;
    job.Codecs['v'] = "libx264";
    ApplyPresetOption("vpre", "default", job);
    ASSERT_FALSE(job.Options.empty());
    EXPECT_EQ(job.Options.front(), std::make_pair(std::string("coder"), std::string("1")));
    EXPECT_EQ(job.Options.back(), std::make_pair(std::string("weightp"), std::string("smart")));
}

TEST(PresetOption, FullNameNeedsNoCodec) {
    TRecordingTarget job;
    ApplyPresetOption("vpre", "libx264-main", job);
    EXPECT_EQ(job.Options.size(), 2u);
}

TEST(PresetOption, MissingPresetNamesTheLastNameTried) {
    TRecordingTarget job;
    EXPECT_EQ(ErrorOf([&] { ApplyPresetOption("vpre", "default", job); }), "Preset \"default\" not found");
    job.Codecs['v'] = "libx264";
    EXPECT_EQ(ErrorOf([&] { ApplyPresetOption("vpre", "nosuch", job); }),
              "Preset \"libx264-nosuch\" not found");
    // The audio preset uses the audio codec, not the video one.
    EXPECT_EQ(ErrorOf([&] { ApplyPresetOption("apre", "default", job); }), "Preset \"default\" not found");
    job.Codecs['a'] = "libx264";
    EXPECT_NO_THROW(ApplyPresetOption("apre", "default", job));
    EXPECT_TRUE(job.Options.size() > 20u);
}

class PresetFile : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        FPath = std::filesystem::path(testmedia::TempDir(std::string("preset-") + test->name())) /
                "mine.ffpreset";
    }
    std::string Write(const std::string& text) {
        std::ofstream(FPath, std::ios::binary) << text;
        return FPath.string();
    }
    std::filesystem::path FPath;
};

TEST_F(PresetFile, LinesAreTrimmedAndAnyLineBreakSeparates) {
    TRecordingTarget job;
    const std::string file = Write("\r\n  VCodec = libx264 \r\n\r\ng=250\rbf = 3\n\n  acodec=aac  \n");
    ApplyPresetOption("fpre", file, job);
    EXPECT_EQ(job.Codecs['v'], "libx264");
    EXPECT_EQ(job.Codecs['a'], "aac");
    const std::vector<std::pair<std::string, std::string>> expected = {{"g", "250"}, {"bf", "3"}};
    EXPECT_EQ(job.Options, expected);
}

TEST_F(PresetFile, MissingFileIsNotFound) {
    TRecordingTarget job;
    const std::string missing = FPath.string() + ".none";
    EXPECT_EQ(ErrorOf([&] { ApplyPresetOption("fpre", missing, job); }),
              "Preset \"" + missing + "\" not found");
    const std::string folder = FPath.parent_path().string();
    EXPECT_EQ(ErrorOf([&] { ApplyPresetOption("fpre", folder, job); }),
              "Preset \"" + folder + "\" not found");
}

TEST_F(PresetFile, EmptyKeyOrValueIsASyntaxErrorAfterTheLinesBefore) {
    for (const std::string bad : {"g=", "=5", "novalue", "  =  "}) {
        TRecordingTarget job;
        const std::string file = Write("bf=2\n" + bad + "\nrefs=3\n");
        EXPECT_EQ(ErrorOf([&] { ApplyPresetOption("fpre", file, job); }),
                  file + ": Invalid syntax: \"" + std::string(bad == "  =  " ? "=" : bad) + "\"");
        ASSERT_EQ(job.Options.size(), 1u);  // bf stays applied, refs never comes
        EXPECT_EQ(job.Options[0].first, "bf");
    }
}

TEST(PresetOption, RefusedOptionNamesLineKeyAndValue) {
    TRecordingTarget job;
    job.Refused = "bogus";
    EXPECT_EQ(ErrorOf([&] { ApplyPresetText("mine", "g=1\nbogus = x=1 \n", job); }),
              "mine: Invalid option or argument: \"bogus = x=1\", parsed as \"bogus\" = \"x=1\"");
}

TEST(PresetOption, OnlyPresetOptionsAreAccepted) {
    TRecordingTarget job;
    EXPECT_TRUE(IsPresetOption("spre"));
    EXPECT_FALSE(IsPresetOption("pre"));
    EXPECT_THROW(ApplyPresetOption("xpre", "default", job), FFmpegException);
}

// ---------------------------------------------------------------------------------------------
// Every built-in preset on the real encoder.

// Sets options as a job does for a pending libx264 encoder: generic names on the codec context,
// names that only libx264 knows kept for avcodec_open2.
class TLibX264Target : public TPresetTarget {
public:
    explicit TLibX264Target(const AVCodec* codec)
        : FCodec(codec), FContext(ff::avcodec_alloc_context3(codec)) {}
    ~TLibX264Target() {
        ff::avcodec_free_context(&FContext);
        ff::av_dict_free(&FPrivate);
    }
    std::string CodecName(char kind) const override { return kind == 'v' ? "libx264" : ""; }
    void SetCodecName(char, const std::string&) override {}
    bool SetAVOption(const std::string& name, const std::string& value) override {
        const int set = ff::av_opt_set(FContext, name.c_str(), value.c_str(), 0);
        if (set != AVERROR_OPTION_NOT_FOUND) return set >= 0;
        const AVClass* privateClass = FCodec->priv_class;
        if (!ff::av_opt_find(&privateClass, name.c_str(), nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ)) return false;
        return ff::av_dict_set(&FPrivate, name.c_str(), value.c_str(), 0) >= 0;
    }

    AVCodecContext* Context() const { return FContext; }
    AVDictionary** Private() { return &FPrivate; }

private:
    const AVCodec* FCodec;
    AVCodecContext* FContext;
    AVDictionary* FPrivate = nullptr;
};

// The settings each preset stood for, in the option names they were first written in.
const std::map<std::string, std::string> kOriginalPresets = {
        {"libx264-baseline", "coder=0 bf=0 flags2=-wpred-dct8x8+mbtree wpredp=0"},
        {"libx264-default",
         "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partb8x8 me_method=hex "
         "subq=7 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 qcomp=0.6 "
         "qmin=10 qmax=51 qdiff=4 bf=3 refs=3 directpred=1 trellis=1 "
         "flags2=+mixed_refs+wpred+dct8x8+fastpskip+mbtree wpredp=2"},
        {"libx264-fastfirstpass",
         "coder=1 flags=+loop cmp=+chroma partitions=-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8 "
         "me_method=dia subq=2 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 "
         "qcomp=0.6 qmin=10 qmax=51 qdiff=4 bf=3 refs=1 directpred=3 trellis=0 "
         "flags2=-bpyramid-wpred-mixed_refs-dct8x8+fastpskip+mbtree wpredp=2"},
        {"libx264-hq", "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partb8x8 "
                       "me_method=umh subq=8 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 "
                       "b_strategy=2 qcomp=0.6 qmin=10 qmax=51 qdiff=4 bf=3 refs=4 directpred=3 trellis=1 "
                       "flags2=+wpred+mixed_refs+dct8x8+fastpskip+mbtree wpredp=2"},
        {"libx264-ipod320",
         "coder=0 bf=0 flags2=-wpred-dct8x8+mbtree level=13 maxrate=768000 bufsize=3000000 wpredp=0"},
        {"libx264-ipod640", "coder=0 bf=0 refs=1 flags2=-wpred-dct8x8+mbtree level=30 maxrate=10000000 "
                            "bufsize=10000000 wpredp=0"},
        {"libx264-lossless_fast",
         "coder=0 flags=+loop cmp=+chroma partitions=-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8 "
         "me_method=hex subq=3 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 "
         "qcomp=0.6 qmin=10 qmax=51 qdiff=4 directpred=1 flags2=+fastpskip+mbtree cqp=0 wpredp=0"},
        {"libx264-lossless_max",
         "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8 "
         "me_method=esa subq=8 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 "
         "qcomp=0.6 qmin=10 qmax=51 qdiff=4 refs=16 directpred=1 flags2=+mixed_refs+dct8x8+fastpskip+mbtree "
         "cqp=0 wpredp=2"},
        {"libx264-lossless_medium",
         "coder=1 flags=+loop cmp=+chroma partitions=-parti8x8+parti4x4+partp8x8+partp4x4-partb8x8 "
         "me_method=hex subq=5 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 "
         "qcomp=0.6 qmin=10 qmax=51 qdiff=4 directpred=1 flags2=+fastpskip+mbtree cqp=0 wpredp=2"},
        {"libx264-lossless_slow",
         "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8 "
         "me_method=umh subq=6 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 "
         "qcomp=0.6 qmin=10 qmax=51 qdiff=4 refs=2 directpred=1 flags2=+dct8x8+fastpskip+mbtree cqp=0 "
         "wpredp=2"},
        {"libx264-lossless_slower",
         "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8 "
         "me_method=umh subq=8 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 "
         "qcomp=0.6 qmin=10 qmax=51 qdiff=4 refs=4 directpred=1 flags2=+mixed_refs+dct8x8+fastpskip+mbtree "
         "cqp=0 wpredp=2"},
        {"libx264-lossless_ultrafast",
         "coder=0 flags=+loop cmp=+chroma partitions=-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8 "
         "me_method=dia subq=0 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 "
         "qcomp=0.6 qmin=10 qmax=51 qdiff=4 directpred=1 flags2=+fastpskip+mbtree cqp=0"},
        {"libx264-main", "flags2=-dct8x8+mbtree"},
        {"libx264-max",
         "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8 "
         "me_method=tesa subq=10 me_range=24 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=2 "
         "qcomp=0.6 qmin=10 qmax=51 qdiff=4 bf=3 refs=16 directpred=3 trellis=2 "
         "flags2=+wpred+mixed_refs+dct8x8-fastpskip+mbtree wpredp=2"},
        {"libx264-normal", "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partb8x8 "
                           "me_method=hex subq=6 me_range=16 g=250 keyint_min=25 sc_threshold=40 "
                           "i_qfactor=0.71 b_strategy=1 qcomp=0.6 qmin=10 qmax=51 qdiff=4 bf=3 refs=2 "
                           "directpred=3 trellis=0 flags2=+wpred+dct8x8+fastpskip+mbtree wpredp=2"},
        {"libx264-slowfirstpass",
         "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partb8x8 me_method=hex "
         "subq=6 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=2 qcomp=0.6 "
         "qmin=10 qmax=51 qdiff=4 bf=3 refs=1 directpred=3 trellis=0 flags2=+wpred+dct8x8+fastpskip+mbtree "
         "wpredp=2"},
};

// One expected entry of the encoder's own settings report ("cabac=1 ref=3 ...").
struct TExpectation {
    std::string Key, Value;
    bool Optional;  // only checked when the encoder reports the key at all
};

std::string Hex(int value) {
    if (value == 0) return "0";
    char text[16];
    std::snprintf(text, sizeof text, "%#x", value);
    return text;
}

std::string TwoDecimals(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// What the encoder must report for the settings of a preset. Settings that a lossless
// (constant quantiser 0) encode or a single reference frame overrides are left out.
std::vector<TExpectation> ExpectedReport(const std::string& original) {
    std::map<std::string, std::string> settings;
    std::istringstream words(original);
    for (std::string word; words >> word;)
        settings[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
    const bool lossless = settings.count("cqp") > 0;
    const bool singleReference = settings.count("refs") && settings["refs"] == "1";
    std::vector<TExpectation> expected;
    auto expect = [&](const char* from, const char* key, bool optional = false) {
        if (settings.count(from)) expected.push_back({key, settings[from], optional});
    };
    expect("coder", "cabac");
    expect("refs", "ref");
    expect("me_method", "me");
    expect("subq", "subme");
    expect("me_range", "me_range");
    expect("g", "keyint");
    expect("keyint_min", "keyint_min");
    expect("sc_threshold", "scenecut");
    expect("bf", "bframes");
    expect("directpred", "direct", true);
    expect("b_strategy", "b_adapt", true);
    expect("wpredp", "weightp");
    expect("cqp", "qp");
    if (!lossless) {
        expect("trellis", "trellis");
        expect("qmin", "qpmin");
        expect("qmax", "qpmax");
        expect("qdiff", "qpstep");
        if (settings.count("qcomp"))
            expected.push_back({"qcomp", TwoDecimals(std::stod(settings["qcomp"])), false});
        if (settings.count("i_qfactor"))
            expected.push_back({"ip_ratio", TwoDecimals(1.0 / std::stod(settings["i_qfactor"])), false});
    }
    if (settings.count("flags")) expected.push_back({"deblock", "1:0:0", false});
    if (settings.count("cmp")) expected.push_back({"chroma_me", "1", false});
    if (settings.count("maxrate"))
        expected.push_back({"vbv_maxrate", std::to_string(std::stoi(settings["maxrate"]) / 1000), false});
    if (settings.count("bufsize"))
        expected.push_back({"vbv_bufsize", std::to_string(std::stoi(settings["bufsize"]) / 1000), false});

    const std::string flags2 = settings.count("flags2") ? settings["flags2"] : "";
    auto flag = [&](const char* name, const char* key, bool optional = false) {
        const std::size_t at = flags2.find(name);
        if (at != std::string::npos && at > 0)
            expected.push_back({key, flags2[at - 1] == '+' ? "1" : "0", optional});
    };
    flag("dct8x8", "8x8dct");
    flag("wpred", "weightb", true);
    if (!singleReference) flag("mixed_refs", "mixed_ref");
    if (!lossless) {
        flag("fastpskip", "fast_pskip");
        flag("mbtree", "mbtree");
    }
    if (flags2.find("-bpyramid") != std::string::npos) expected.push_back({"b_pyramid", "0", true});

    if (settings.count("partitions")) {
        // The partitions the encoder may use in P and B frames; 8x8 intra needs the 8x8 transform.
        const std::string& parts = settings["partitions"];
        auto on = [&](const char* name) { return parts.find(std::string("+") + name) != std::string::npos; };
        int inter = (on("parti4x4") ? 0x1 : 0) | (on("parti8x8") ? 0x2 : 0) | (on("partp8x8") ? 0x10 : 0) |
                    (on("partp4x4") ? 0x20 : 0) | (on("partb8x8") ? 0x100 : 0);
        if (flags2.find("-dct8x8") != std::string::npos) inter &= ~0x2;
        expected.push_back({"analyse.inter", Hex(inter), false});
    }
    return expected;
}

// The encoder's settings report from the stream ("options: cabac=1 ref=3 ..."), as key -> value;
// "analyse=0x3:0x113" also gives "analyse.inter".
std::map<std::string, std::string> ParseReport(const std::string& report) {
    std::map<std::string, std::string> values;
    std::istringstream words(report.substr(report.find("options:") + 8));
    for (std::string word; words >> word;) {
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos) continue;
        values[word.substr(0, equals)] = word.substr(equals + 1);
    }
    if (values.count("analyse"))
        values["analyse.inter"] = values["analyse"].substr(values["analyse"].find(':') + 1);
    return values;
}

// Encodes `count` moving pictures; returns the encoder's settings report ("" if none) and the
// number of packets.
std::pair<std::string, int> EncodePictures(AVCodecContext* context, int count) {
    std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(ff::av_frame_alloc(),
                                                       [](AVFrame* f) { ff::av_frame_free(&f); });
    std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(ff::av_packet_alloc(),
                                                          [](AVPacket* p) { ff::av_packet_free(&p); });
    frame->width = context->width;
    frame->height = context->height;
    frame->format = context->pix_fmt;
    EXPECT_GE(ff::av_frame_get_buffer(frame.get(), 0), 0);
    std::string report;
    int packets = 0;
    auto drain = [&] {
        while (ff::avcodec_receive_packet(context, packet.get()) >= 0) {
            const char* data = reinterpret_cast<const char*>(packet->data);
            if (report.empty()) {
                for (int i = 0; i + 8 < packet->size; ++i)
                    if (std::memcmp(data + i, "options:", 8) == 0) {
                        report.assign(data + i, strnlen(data + i, packet->size - i));
                        break;
                    }
            }
            ++packets;
            ff::av_packet_unref(packet.get());
        }
    };
    for (int n = 0; n < count; ++n) {
        EXPECT_GE(ff::av_frame_make_writable(frame.get()), 0);
        for (int y = 0; y < frame->height; ++y)
            for (int x = 0; x < frame->width; ++x)
                frame->data[0][y * frame->linesize[0] + x] = static_cast<uint8_t>(x + y + 4 * n);
        for (int plane = 1; plane < 3; ++plane)
            for (int y = 0; y < frame->height / 2; ++y)
                std::memset(frame->data[plane] + y * frame->linesize[plane], 128 + plane * n,
                            frame->width / 2);
        frame->pts = n;
        EXPECT_GE(ff::avcodec_send_frame(context, frame.get()), 0);
        drain();
    }
    EXPECT_GE(ff::avcodec_send_frame(context, nullptr), 0);
    drain();
    return {report, packets};
}

class BuiltInPresetOnLibX264 : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }
};

TEST_P(BuiltInPresetOnLibX264, OpensEncodesAndTakesEverySetting) {
    const std::string& name = GetParam();
    const AVCodec* codec = ff::avcodec_find_encoder_by_name("libx264");
    ASSERT_NE(codec, nullptr) << "libx264 is not available";
    TLibX264Target job(codec);
    ASSERT_NO_THROW(ApplyPresetOption("vpre", name.substr(std::strlen("libx264-")), job));

    AVCodecContext* context = job.Context();
    context->width = 320;
    context->height = 240;
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->time_base = AVRational{1, 25};
    context->thread_count = 1;
    ASSERT_EQ(ff::avcodec_open2(context, codec, job.Private()), 0);
    EXPECT_EQ(ff::av_dict_count(*job.Private()), 0) << "libx264 left options unused";

    const auto [report, packets] = EncodePictures(context, 8);
    EXPECT_EQ(packets, 8);
    ASSERT_NE(report.find("options:"), std::string::npos);
    const std::map<std::string, std::string> reported = ParseReport(report);
    for (const TExpectation& expected : ExpectedReport(kOriginalPresets.at(name))) {
        const auto found = reported.find(expected.Key);
        if (found == reported.end()) {
            EXPECT_TRUE(expected.Optional) << name << ": the encoder does not report " << expected.Key;
            continue;
        }
        EXPECT_EQ(found->second, expected.Value) << name << ": " << expected.Key;
    }
    const std::string original = kOriginalPresets.at(name);
    if (const std::size_t level = original.find("level="); level != std::string::npos) {
        EXPECT_EQ(context->level, std::stoi(original.substr(level + 6)));
    }
}

std::vector<std::string> PresetNames() {
    std::vector<std::string> names;
    for (const TBuiltInPreset& preset : BuiltInPresets()) names.emplace_back(preset.Name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(EveryPreset, BuiltInPresetOnLibX264, ::testing::ValuesIn(PresetNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(std::strlen("libx264-"));
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
