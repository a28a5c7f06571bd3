// The generator's command line: same arguments give the same bytes, bad arguments and failed
// runs end with a clear message and a non-zero exit, and never leave a file behind.
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kestrova::mediatest {
namespace {

namespace fs = std::filesystem;
using testmedia::GeneratorRun;
using testmedia::RunGenerator;

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

class SameArgumentsSameBytes : public testing::TestWithParam<std::string> {};

TEST_P(SameArgumentsSameBytes, TwoRunsWriteIdenticalFiles) {
    const std::string folder = testmedia::TempDir("mediagen-repeat-" + GetParam());
    std::string contents[2];
    for (int run = 0; run < 2; ++run) {
        const std::string path = folder + "/clip" + std::to_string(run);
        std::vector<std::string> args = {"--format", GetParam(), "--duration", "1",
                                         "--size",   "160x120",  "--output",   path};
        if (GetParam() != "mp3" && GetParam() != "wma") args.insert(args.end(), {"--audio-offset", "0.2"});
        const GeneratorRun result = RunGenerator(args);
        ASSERT_EQ(result.exitCode, 0) << result.output;
        contents[run] = ReadBytes(path);
    }
    EXPECT_FALSE(contents[0].empty());
    EXPECT_TRUE(contents[0] == contents[1]) << "the two runs differ";
}

INSTANTIATE_TEST_SUITE_P(SomeFormats, SameArgumentsSameBytes,
                         testing::Values("flv", "f4v", "mp4", "mp3", "wma"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(GeneratorCommandLine, SeedChoosesTheRandomBytes) {
    const std::string folder = testmedia::TempDir("mediagen-seed");
    const auto make = [&](const std::string& name, const std::string& seed) {
        const GeneratorRun result =
                RunGenerator({"--format", "wav", "--duration", "0.5", "--damage", "garbage", "--seed", seed,
                              "--output", folder + "/" + name});
        EXPECT_EQ(result.exitCode, 0) << result.output;
        return ReadBytes(folder + "/" + name);
    };
    const std::string first = make("a.wav", "7"), again = make("b.wav", "7"), other = make("c.wav", "8");
    EXPECT_EQ(first, again);
    EXPECT_NE(first, other);
    EXPECT_EQ(first.size(), other.size());
}

TEST(GeneratorCommandLine, BadArgumentsAreRefusedWithAMessage) {
    const std::string folder = testmedia::TempDir("mediagen-bad-arguments");
    const std::string out = folder + "/out.mp4";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
            {{"--output", out}, "--format is required"},
            {{"--format", "mp4"}, "--output is required"},
            {{"--format", "avi", "--output", out}, "unknown format"},
            {{"--format", "mp4", "--output", out, "--duration", "0"}, "--duration"},
            {{"--format", "mp4", "--output", out, "--duration", "two"}, "--duration"},
            {{"--format", "mp4", "--output", out, "--size", "321x240"}, "--size"},
            {{"--format", "mp4", "--output", out, "--size", "640"}, "--size"},
            {{"--format", "mp4", "--output", out, "--rate", "0"}, "--rate"},
            {{"--format", "mp4", "--output", out, "--rate", "25/0"}, "--rate"},
            {{"--format", "mp4", "--output", out, "--channels", "9"}, "--channels"},
            {{"--format", "mp4", "--output", out, "--sample-rate", "100"}, "--sample-rate"},
            {{"--format", "mp4", "--output", out, "--audio-offset", "3"}, "--audio-offset"},
            {{"--format", "mp3", "--output", out, "--audio-offset", "0.5"}, "--audio-offset"},
            {{"--format", "mp4", "--output", out, "--no-audio", "--no-video"}, "no stream"},
            {{"--format", "mp4", "--output", out, "--damage", "burnt"}, "--damage"},
            {{"--format", "mp4", "--output", out, "--seed", "-1"}, "--seed"},
            {{"--format", "mp4", "--output", out, "--rate"}, "needs a value"},
            {{"--format", "mp4", "--output", out, "--colour", "red"}, "unknown argument"},
    };
    for (const auto& [args, message] : cases) {
        const GeneratorRun result = RunGenerator(args);
        EXPECT_EQ(result.exitCode, 2) << message;
        EXPECT_NE(result.output.find(message), std::string::npos) << result.output;
        EXPECT_NE(result.output.find("usage:"), std::string::npos);
    }
    EXPECT_TRUE(Listing(folder).empty());
}

TEST(GeneratorCommandLine, FailedRunLeavesTheOutputNameAlone) {
    const std::string folder = testmedia::TempDir("mediagen-failed-run");
    const std::string out = folder + "/clip.flv";
    { std::ofstream(out) << "keep me"; }
    // MP3 has no 96 kHz: the encoder refuses once the run is under way.
    const GeneratorRun result = RunGenerator({"--format", "flv", "--sample-rate", "96000", "--output", out});
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_NE(result.output.find("96000"), std::string::npos) << result.output;
    EXPECT_EQ(ReadBytes(out), "keep me");
    const std::vector<std::string> listing = Listing(folder);
    EXPECT_EQ(listing, std::vector<std::string>{"clip.flv"})
            << "no work file may be left over; found " << testing::PrintToString(listing);
}

TEST(GeneratorCommandLine, MissingFolderIsReported) {
    const std::string folder = testmedia::TempDir("mediagen-missing-folder");
    const GeneratorRun result = RunGenerator({"--format", "wav", "--output", folder + "/absent/clip.wav"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("does not exist"), std::string::npos) << result.output;
}

TEST(GeneratorCommandLine, ExistingOutputIsReplacedWhole) {
    const std::string folder = testmedia::TempDir("mediagen-replace");
    const std::string out = folder + "/clip.wav";
    { std::ofstream(out) << std::string(4'000'000, 'x'); }
    const GeneratorRun result = RunGenerator({"--format", "wav", "--duration", "0.5", "--output", out});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    // 44-byte header and half a second of 16-bit stereo at 44.1 kHz, nothing of the old file.
    EXPECT_EQ(fs::file_size(out), 44u + 22050u * 4u);
    EXPECT_EQ(ReadBytes(out).substr(0, 4), "RIFF");
}

TEST(GeneratorCommandLine, HelpPrintsTheUsage) {
    const GeneratorRun result = RunGenerator({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.output.find("--audio-offset"), std::string::npos);
}

}  // namespace
}  // namespace kestrova::mediatest
