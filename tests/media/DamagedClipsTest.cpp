// The damaged variants fail the way they are meant to: empty and random files never open;
// truncated and overwritten clips either do not open or give up part of their content, and
// whatever pictures still decode carry their true numbers in order.
#include "tests/media/MediaInspect.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrova::mediatest {
namespace {

using testmedia::Clip;
using testmedia::ClipSpec;

ClipSpec Spec(const std::string& format, const std::string& damage = "") {
    ClipSpec spec;
    spec.format = format;
    spec.damage = damage;
    return spec;
}

size_t AudioSamples(const TDecodedMedia& media) {
    return media.Channels.empty() ? 0 : media.Channels[0].size();
}

// Readable picture numbers must be true frames of the clip, in order. A picture may repeat:
// decoders conceal a damaged frame with the one before.
void ExpectNumbersInOrder(const std::vector<int>& numbers, int frames) {
    int last = -1;
    for (const int number : numbers) {
        if (number < 0) continue;  // a picture too damaged to read
        EXPECT_LT(number, frames);
        EXPECT_GE(number, last);
        last = number;
    }
}

class DamagedClips : public testing::TestWithParam<std::string> {
protected:
    TDecodedMedia DecodeIntact() {
        int error = 0;
        InputPtr input = OpenMedia(Clip(Spec(GetParam())), &error);
        EXPECT_TRUE(input) << ErrorText(error);
        return input ? DecodeAll(input.get()) : TDecodedMedia{};
    }
};

TEST_P(DamagedClips, EmptyFileDoesNotOpen) {
    const std::string path = Clip(Spec(GetParam(), "empty"));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    int error = 0;
    EXPECT_FALSE(OpenMedia(path, &error));
    EXPECT_LT(error, 0);
}

TEST_P(DamagedClips, RandomBytesDoNotOpen) {
    const std::string path = Clip(Spec(GetParam(), "garbage"));
    EXPECT_EQ(std::filesystem::file_size(path), std::filesystem::file_size(Clip(Spec(GetParam()))));
    int error = 0;
    EXPECT_FALSE(OpenMedia(path, &error));
    EXPECT_LT(error, 0);
}

TEST_P(DamagedClips, TruncatedClipLosesItsSecondHalf) {
    const std::string intactPath = Clip(Spec(GetParam()));
    const std::string path = Clip(Spec(GetParam(), "truncated"));
    EXPECT_EQ(std::filesystem::file_size(path), std::filesystem::file_size(intactPath) / 2);
    int error = 0;
    InputPtr input = OpenMedia(path, &error);
    if (!input) {
        // MP4 and F4V keep their index at the end: without it nothing can be read.
        EXPECT_LT(error, 0);
        return;
    }
    const TDecodedMedia intact = DecodeIntact();
    const TDecodedMedia damaged = DecodeAll(input.get());
    // Roughly the first half decodes; nothing past the cut.
    if (!intact.FrameNumbers.empty()) {
        EXPECT_GT(damaged.FrameNumbers.size(), intact.FrameNumbers.size() / 4);
        EXPECT_LT(damaged.FrameNumbers.size(), intact.FrameNumbers.size() * 3 / 4);
        ExpectNumbersInOrder(damaged.FrameNumbers, static_cast<int>(intact.FrameNumbers.size()));
    }
    EXPECT_GT(AudioSamples(damaged), AudioSamples(intact) / 4);
    EXPECT_LT(AudioSamples(damaged), AudioSamples(intact) * 3 / 4);
}

TEST_P(DamagedClips, OverwrittenStartLosesTheHeaderOrTheFirstFrames) {
    const std::string path = Clip(Spec(GetParam(), "overwritten"));
    EXPECT_EQ(std::filesystem::file_size(path), std::filesystem::file_size(Clip(Spec(GetParam()))));
    int error = 0;
    InputPtr input = OpenMedia(path, &error);
    if (!input) {
        EXPECT_LT(error, 0);
        return;
    }
    // Some formats resynchronise behind the damage (MP3 frames, or the raw MPEG-4 video of an
    // MP4 whose header is gone): then less comes out than from the intact clip.
    const TDecodedMedia intact = DecodeIntact();
    const TDecodedMedia damaged = DecodeAll(input.get());
    const bool lostPictures = damaged.FrameNumbers.size() < intact.FrameNumbers.size();
    const bool lostSound = AudioSamples(damaged) < AudioSamples(intact);
    EXPECT_TRUE(lostPictures || lostSound);
    ExpectNumbersInOrder(damaged.FrameNumbers, static_cast<int>(intact.FrameNumbers.size()));
}

TEST_P(DamagedClips, RandomBytesOfAnySeedDoNotOpen) {
    const std::string folder = testmedia::TempDir("damaged-seeds-" + GetParam());
    for (int seed = 1; seed <= 6; ++seed) {
        const std::string path =
                folder + "/noise" + std::to_string(seed) + "." + testmedia::FormatExtension(GetParam());
        const testmedia::GeneratorRun run = testmedia::RunGenerator(
                {"--format", GetParam(), "--duration", "0.5", "--size", "96x64", "--damage", "garbage",
                 "--seed", std::to_string(seed), "--output", path});
        ASSERT_EQ(run.exitCode, 0) << run.output;
        int error = 0;
        EXPECT_FALSE(OpenMedia(path, &error)) << "seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(AllFormats, DamagedClips,
                         testing::Values("flv", "f4v", "mp4", "mp4-mpeg4", "mp3", "wma", "wav"),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param == "mp4-mpeg4" ? std::string("mp4_mpeg4") : info.param;
                         });

}  // namespace
}  // namespace kestrova::mediatest
