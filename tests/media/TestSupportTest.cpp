// The test-support library: reading picture numbers and tones back, clips on demand and
// scratch folders.
#include "tests/support/TestMedia.h"
#include "tools/mediagen/FramePattern.h"
#include "tools/mediagen/ToneSignal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace kestrova::mediatest {
namespace {

namespace fs = std::filesystem;
using testmedia::FrameNumberFromPicture;

// A 4:2:0 picture with padded lines, as decoders hand them out.
struct TPicture {
    TPicture(int width, int height) : Width(width), Height(height), Linesize(width + 32) {
        Y.assign(static_cast<size_t>(Linesize) * height, 0);
        U.assign(static_cast<size_t>(Linesize) * height / 2, 0);
        V.assign(static_cast<size_t>(Linesize) * height / 2, 0);
    }
    void Draw(int number) {
        mediagen::DrawFramePattern(number, Width, Height, Y.data(), Linesize, U.data(), Linesize, V.data(),
                                   Linesize);
    }
    int Read() const { return FrameNumberFromPicture(Y.data(), Linesize, Width, Height); }
    int Width, Height, Linesize;
    std::vector<uint8_t> Y, U, V;
};

TEST(FrameNumberReading, DrawnNumbersReadBackAtEverySize) {
    for (const auto& [width, height] :
         std::vector<std::pair<int, int>>{{16, 16}, {176, 144}, {322, 242}, {1920, 1080}}) {
        TPicture picture(width, height);
        for (const int number : {0, 1, 2, 255, 256, 12345, 43690, mediagen::kMaxFrameNumber}) {
            picture.Draw(number);
            EXPECT_EQ(picture.Read(), number) << width << "x" << height;
        }
    }
}

TEST(FrameNumberReading, PicturesWithoutACodeAreUnreadable) {
    TPicture picture(320, 240);
    for (const uint8_t level : {uint8_t{0}, uint8_t{16}, uint8_t{128}, uint8_t{235}, uint8_t{255}}) {
        std::fill(picture.Y.begin(), picture.Y.end(), level);
        EXPECT_EQ(picture.Read(), -1) << int(level);
    }
    EXPECT_EQ(FrameNumberFromPicture(nullptr, 320, 320, 240), -1);
    picture.Draw(5);
    EXPECT_EQ(FrameNumberFromPicture(picture.Y.data(), picture.Linesize, 8, 8), -1);
}

TEST(FrameNumberReading, BlendOfTwoPicturesIsUnreadable) {
    // What a frame-rate converter that mixes neighbours would produce.
    TPicture first(320, 240), second(320, 240);
    first.Draw(1);
    second.Draw(2);
    for (size_t i = 0; i < first.Y.size(); ++i)
        first.Y[i] = static_cast<uint8_t>((first.Y[i] + second.Y[i]) / 2);
    EXPECT_EQ(first.Read(), -1);
}

TEST(FrameNumberReading, BrokenInvertedCopyIsUnreadable) {
    TPicture picture(320, 240);
    picture.Draw(3);
    // Make cell (row 2, column 0) agree with its partner in row 0.
    const mediagen::TCellRect cell = mediagen::PatternCell(2, 0, 320, 240);
    for (int y = cell.Y; y < cell.Y + cell.Height; ++y)
        std::fill_n(picture.Y.begin() + y * picture.Linesize + cell.X, cell.Width, mediagen::kLumaSet);
    EXPECT_EQ(picture.Read(), -1);
}

TEST(ToneReading, EstimatesTheFrequencyOfASine) {
    const int rate = 44100;
    for (int channel = 0; channel < 4; ++channel) {
        std::vector<float> samples(rate / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<float>(mediagen::ToneSample(channel, static_cast<int64_t>(i), rate));
        EXPECT_NEAR(testmedia::EstimateFrequency(samples.data(), samples.size(), rate),
                    testmedia::ToneFrequency(channel), 0.01);
    }
    EXPECT_DOUBLE_EQ(testmedia::ToneFrequency(1), 880.0);
    const std::vector<float> silence(1000, 0.0f);
    EXPECT_EQ(testmedia::EstimateFrequency(silence.data(), silence.size(), rate), 0.0);
}

TEST(ClipOnDemand, SameSpecSameFileOtherSpecOtherFile) {
    testmedia::ClipSpec spec;
    spec.format = "wav";
    spec.duration = 0.25;
    const std::string path = testmedia::Clip(spec);
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(fs::path(path).parent_path(), fs::path(testmedia::BuildDir()) / "test-media");
    EXPECT_EQ(testmedia::Clip(spec), path);
    spec.channels = 1;
    EXPECT_NE(testmedia::Clip(spec), path);
    spec.rate = "30000/1001";  // a slash must not make a folder
    EXPECT_EQ(fs::path(testmedia::Clip(spec)).parent_path(), fs::path(path).parent_path());
}

TEST(ClipOnDemand, ClipOlderThanTheGeneratorIsMadeAgain) {
    testmedia::ClipSpec spec;
    spec.format = "wav";
    spec.duration = 0.125;
    const std::string path = testmedia::Clip(spec);
    { std::ofstream(path, std::ios::trunc) << "stale"; }
    fs::last_write_time(path, fs::last_write_time(testmedia::GeneratorPath()) - std::chrono::hours(1));
    EXPECT_EQ(testmedia::Clip(spec), path);
    EXPECT_GT(fs::file_size(path), 5u);
}

TEST(ClipOnDemand, FailureThrowsWithTheGeneratorsMessage) {
    testmedia::ClipSpec spec;
    spec.format = "flv";
    spec.sampleRate = 96000;
    try {
        testmedia::Clip(spec);
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("does not support the sample rate 96000"), std::string::npos)
                << error.what();
    }
}

TEST(ClipOnDemand, RacingRequestsBothGetTheWholeClip) {
    testmedia::ClipSpec spec;
    spec.format = "mp4";
    spec.duration = 0.6;
    spec.width = 96;
    spec.height = 64;
    fs::remove(testmedia::Clip(spec));
    std::string paths[2];
    std::thread other([&] { paths[1] = testmedia::Clip(spec); });
    paths[0] = testmedia::Clip(spec);
    other.join();
    EXPECT_EQ(paths[0], paths[1]);
    EXPECT_GT(fs::file_size(paths[0]), 1000u);
    // No work file of this clip is left (other test processes may be making other clips).
    const std::string workPrefix = paths[0] + ".part-";
    for (const auto& entry : fs::directory_iterator(fs::path(paths[0]).parent_path()))
        EXPECT_NE(entry.path().string().rfind(workPrefix, 0), 0u) << entry.path();
}

TEST(ScratchFolders, TempDirIsFreshAndEmpty) {
    const std::string folder = testmedia::TempDir("support-scratch");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(fs::path(folder).parent_path(), fs::path(testmedia::BuildDir()) / "test-tmp");
    { std::ofstream(folder + "/leftover") << "x"; }
    EXPECT_EQ(testmedia::TempDir("support-scratch"), folder);
    EXPECT_TRUE(fs::is_empty(folder));
}

}  // namespace
}  // namespace kestrova::mediatest
