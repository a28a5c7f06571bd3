// Damaged inputs of every generated clip kind, converted by stream copy and by re-encoding: no
// run crashes, hangs or trips a sanitizer, and each either makes an output that the engine's
// probe opens or fails with a message. The variants are made from a seed (the suite's, from
// KESTROVA_ROBUSTNESS_SEED, else a fixed one) and every fault names its case and seed; a failing
// case's damaged input is kept in the suite's scratch folder. KESTROVA_ROBUSTNESS_ONLY limits the
// run to the cases whose name contains its text.
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "tests/robustness/DamagedVariants.h"
#include "tests/robustness/GuardedConversion.h"
#include "tests/robustness/RunningCase.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace kestrova::robustness {
namespace {

using testmedia::ClipSpec;

constexpr uint32_t kDefaultSuiteSeed = 1;
// Far above what a clip of under a second takes, even sanitized on a busy machine.
constexpr std::chrono::seconds kRunLimit{30};

ClipSpec SmallClip(const std::string& format) {
    ClipSpec spec;
    spec.format = format;
    spec.duration = 0.6;
    spec.width = 160;
    spec.height = 120;
    spec.sampleRate = 22050;
    spec.channels = 2;
    return spec;
}

// The same kind with another picture size, sample rate and channel count.
ClipSpec OtherParameters(ClipSpec spec) {
    spec.width = 176;
    spec.height = 144;
    spec.sampleRate = 44100;
    spec.channels = 1;
    return spec;
}

ClipSpec ChangingMidStream(ClipSpec spec, bool pictureToo) {
    if (pictureToo) {
        spec.changeWidth = 192;
        spec.changeHeight = 144;
    }
    spec.changeSampleRate = 44100;
    spec.changeChannels = 1;
    return spec;
}

struct TClipKind {
    std::string Name;
    ClipSpec Clip;
    ClipSpec OtherKind;  // appended to make the joined-other-kind variant
    std::string CopyExtension;
    std::string EncodeExtension;  // its container's default encoders re-encode
    TOptionPairs EncodeOptions;
};

std::vector<TClipKind> ClipKinds() {
    const TOptionPairs smaller = {{"s", "96x72"}};
    return {
            {"Flv", SmallClip("flv"), SmallClip("mp3"), "flv", "mp4", {}},
            {"F4v", SmallClip("f4v"), SmallClip("flv"), "f4v", "avi", smaller},
            {"Mp4", SmallClip("mp4"), SmallClip("ts"), "mp4", "flv", {}},
            {"Mp4Mpeg4", SmallClip("mp4-mpeg4"), SmallClip("mp4"), "mkv", "mpg", {}},
            {"Mp3", SmallClip("mp3"), SmallClip("wav"), "mp3", "wav", {}},
            {"Wma", SmallClip("wma"), SmallClip("mp3"), "wma", "mp3", {}},
            {"Wav", SmallClip("wav"), SmallClip("wma"), "wav", "wma", {{"ar", "11025"}}},
            {"Ts", SmallClip("ts"), SmallClip("mp4"), "ts", "avi", {}},
            {"Jpg", SmallClip("jpg"), SmallClip("wav"), "jpg", "png", smaller},
            {"TsChanging", ChangingMidStream(SmallClip("ts"), true), SmallClip("flv"), "ts", "mp4", {}},
            {"Mp3Changing", ChangingMidStream(SmallClip("mp3"), false), SmallClip("ts"), "mp3", "m4a", {}},
    };
}

void PrintTo(const TClipKind& kind, std::ostream* out) {
    *out << kind.Name;
}

uint32_t SuiteSeed() {
    const char* text = std::getenv("KESTROVA_ROBUSTNESS_SEED");
    return text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 0)) : kDefaultSuiteSeed;
}

// The seed of one variant: the suite's, mixed with the case's name (FNV-1a).
uint32_t CaseSeed(uint32_t suiteSeed, const std::string& caseName) {
    uint32_t hash = 2166136261u ^ (suiteSeed * 2654435761u);
    for (const char c : caseName) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

bool Selected(const std::string& caseName) {
    const char* only = std::getenv("KESTROVA_ROBUSTNESS_ONLY");
    return !only || caseName.find(only) != std::string::npos;
}

std::string Report(const std::string& description, const std::string& fault, const TConversionResult& result,
                   const std::string& input) {
    std::ostringstream out;
    out << description << ": " << fault;
    if (!result.Message.empty()) out << "\n  message: " << result.Message;
    out << "\n  damaged input kept: " << input;
    for (const std::string& line : result.LastLogLines) out << "\n  log: " << line;
    return out.str();
}

struct TMode {
    const char* Name;
    bool Copy;
};
constexpr TMode kModes[] = {{"copy", true}, {"encode", false}};

// Cases that found a fault in the engine, with the suite seed that made them: they run whatever
// the suite's seed is.
struct TFoundCase {
    const char* Name;
    uint32_t SuiteSeed;
};
constexpr TFoundCase kFoundCases[] = {
        // A stray stream's one packet days before the others: the video clock repeated the
        // first picture over the whole gap.
        {"Flv/overwritten-head", 9},
};

// The suite seeds a case runs with: the suite's own, and those with which it found a fault.
std::vector<uint32_t> SeedsOf(const std::string& caseName, uint32_t suiteSeed) {
    std::vector<uint32_t> seeds = {suiteSeed};
    for (const TFoundCase& found : kFoundCases)
        if (caseName == found.Name && found.SuiteSeed != suiteSeed) seeds.push_back(found.SuiteSeed);
    return seeds;
}

class DamagedInputTest : public ::testing::TestWithParam<TClipKind> {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
        InstallRunningCaseReport();
        TFFLogger::Instance().SetLogLevel(llWarning);
    }

    // Converts one variant both ways; a faulty run fails the test with its case, and its
    // damaged input stays in `folder`.
    void ConvertVariant(const TDamagedVariant& variant, const std::string& caseName, uint32_t suiteSeed,
                        const std::string& folder) {
        const TClipKind& kind = GetParam();
        const std::string input = folder + "/" + variant.Name + "-" + std::to_string(suiteSeed) + "." +
                                  testmedia::FormatExtension(kind.Clip.format);
        WriteBytes(input, variant.Bytes);
        bool kept = false;
        for (const TMode& mode : kModes) {
            TConversion conversion;
            conversion.Input = input;
            conversion.Output = folder + "/out-" + mode.Name + "." +
                                (mode.Copy ? kind.CopyExtension : kind.EncodeExtension);
            conversion.StreamCopy = mode.Copy;
            conversion.Options =
                    mode.Copy ? TOptionPairs{{"vcodec", "copy"}, {"acodec", "copy"}} : kind.EncodeOptions;
            const std::string description = caseName + " " + mode.Name + " (seed " +
                                            std::to_string(variant.Seed) + ", suite seed " +
                                            std::to_string(suiteSeed) + ")";
            const TRunningCase running(description + ", input " + input);
            const TConversionResult result = RunGuarded(conversion, kRunLimit);
            ++FOutcomes[OutcomeName(result.Outcome)];
            if (const std::string fault = Fault(conversion, result); !fault.empty()) {
                ADD_FAILURE() << Report(description, fault, result, input);
                kept = true;
            }
            std::filesystem::remove(conversion.Output);
        }
        if (!kept) std::filesystem::remove(input);
    }

    void RecordOutcomes() {
        for (const auto& [outcome, count] : FOutcomes) RecordProperty(outcome, count);
    }

private:
    std::map<std::string, int> FOutcomes;  // runs by outcome, for the test's record
};

TEST_P(DamagedInputTest, EveryVariantConvertsOrFailsWithAMessage) {
    const TClipKind& kind = GetParam();
    const TVariantSources sources{ReadBytes(testmedia::Clip(kind.Clip)),
                                  ReadBytes(testmedia::Clip(OtherParameters(kind.Clip))),
                                  ReadBytes(testmedia::Clip(kind.OtherKind))};
    const std::string folder = testmedia::TempDir("robustness_" + kind.Name);
    for (std::size_t index = 0; index < VariantNames().size(); ++index) {
        const std::string caseName = kind.Name + "/" + VariantNames()[index];
        if (!Selected(caseName)) continue;
        for (const uint32_t suiteSeed : SeedsOf(caseName, SuiteSeed()))
            ConvertVariant(DamagedVariant(sources, index, CaseSeed(suiteSeed, caseName)), caseName, suiteSeed,
                           folder);
    }
    RecordOutcomes();
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedInputTest, ::testing::ValuesIn(ClipKinds()),
                         [](const ::testing::TestParamInfo<TClipKind>& info) { return info.param.Name; });

}  // namespace
}  // namespace kestrova::robustness
