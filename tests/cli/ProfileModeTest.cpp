// The profile mode of kestrova-cli over real profile files: the listing, conversions with a
// profile's defaults and --set values, and what a profile or input that cannot be used does.
// Damaged profile files are tried in a program folder of their own (a copy of the program
// beside a profiles folder), where the other profiles must stay usable.
#include "tests/engine/front/EngineTestSupport.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/RunningProgram.h"

#include "engine/frame/AVProbe.h"

#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

namespace kestrova::clitest {
namespace {

namespace fs = std::filesystem;
using kestrova::testing::SmallClip;
using kestrova::testing::TestFolder;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The line of the listing that names the file.
std::string ListingLine(const std::string& listing, const std::string& profileFile) {
    const std::size_t at = listing.find("  " + profileFile + " ");
    if (at == std::string::npos) return {};
    return listing.substr(at, listing.find('\n', at) - at);
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ProfileModeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }

    // A copy of the program in `folder` with a profiles folder holding mp4.xml as installed and
    // the given damaged files; every other profile of the group list is missing.
    static std::string ProgramWithProfiles(const std::string& folder,
                                           const std::vector<std::pair<std::string, std::string>>& damaged) {
        fs::create_directories(folder + "/profiles");
        fs::copy_file(ProgramPath(), folder + "/kestrova-cli");
        fs::copy_file(testmedia::BuildDir() + "/bin/profiles/mp4.xml", folder + "/profiles/mp4.xml");
        for (const auto& [name, content] : damaged) std::ofstream(folder + "/profiles/" + name) << content;
        return folder + "/kestrova-cli";
    }
};

TEST_F(ProfileModeTest, ListsEveryGroupWithItsProfiles) {
    const testmedia::ProcessResult result = testmedia::RunProcess(ProgramPath(), {"--list"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_TRUE(Contains(result.output, "General Video\n  wmv.xml")) << result.output;
    EXPECT_TRUE(Contains(ListingLine(result.output, "ipod_h264_tv.xml"), "iPod H.264 Video for TV(*.mp4)"));
    EXPECT_TRUE(Contains(result.output, "Zune\n")) << result.output;
    EXPECT_FALSE(Contains(result.output, "cannot be used")) << result.output;
    EXPECT_FALSE(Contains(result.output, "Recent")) << result.output;  // groups without profiles are left out
}

TEST_F(ProfileModeTest, ConvertsEachInputWithTheProfileAndItsSettings) {
    const std::string folder = TestFolder();
    fs::create_directories(folder + "/out");
    const std::string first = folder + "/first.flv";
    const std::string second = folder + "/second.flv";
    fs::copy_file(SmallClip(1.0), first);
    fs::copy_file(SmallClip(1.0), second);
    const testmedia::ProcessResult result = testmedia::RunProcess(
            ProgramPath(),
            {"--profile", "mpeg-4 video(*.mp4)", "--set", "videosize=176x144", "--set", "AudioChannel=1",
             first, second, "--out-folder", folder + "/out", "-processes", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_TRUE(Contains(result.output, "2 of 2 tasks finished")) << result.output;
    for (const char* name : {"/out/first_(new).mp4", "/out/second_(new).mp4"}) {
        TAVProbe probe;
        ASSERT_TRUE(probe.LoadFile(folder + name)) << name << ": " << probe.LastErrMsg();
        EXPECT_EQ(probe.GetVideoStreamInfo().Width, 176) << name;
        EXPECT_EQ(probe.GetVideoStreamInfo().Height, 144) << name;
        EXPECT_EQ(probe.GetAudioStreamInfo().Channels, 1) << name;
    }
    // A second run takes the next free names, beside the input without --out-folder.
    const testmedia::ProcessResult again =
            testmedia::RunProcess(ProgramPath(), {"--profile", "mp3.xml", first});
    ASSERT_EQ(again.exitCode, 0) << again.output;
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(folder + "/first_(new).mp3")) << probe.LastErrMsg();
    EXPECT_EQ(probe.VideoStreamCount(), 0);
}

TEST_F(ProfileModeTest, WhatTheUserNamedWronglyExitsWithTwoAndReservesNothing) {
    const std::string folder = TestFolder();
    const std::string clip = folder + "/clip.flv";
    fs::copy_file(SmallClip(1.0), clip);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
            {{"--profile", "no such profile", clip}, "No profile file or profile named \"no such profile\""},
            {{"--profile", "mp4.xml", "--set", "bogus=1", clip}, "Unknown profile parameter \"bogus\""},
            {{"--profile", "mp4.xml", clip, "--out-folder", folder + "/missing"}, "does not exist"},
            {{"--profile", "mp4.xml", clip, "--bogus", "1"}, "Unrecognized option '--bogus'"},
            {{"--profile", "mp4.xml", clip, "--out-folder", clip}, "\"" + clip + "\" is not a folder"},
            {{"--profile", "flv.xml", "--set", "audiobitrate=abc", clip},
             "Invalid value \"abc\" for profile parameter \"audiobitrate\": a whole number from 1 to 1536"},
            {{"--profile", "flv.xml", "--set", "audiovolume=-1", clip}, "parameter \"audiovolume\""},
            {{"--profile", "flv.xml", "--set", "videosize=1,2", clip}, "a frame size WxH"},
            {{"--profile", "flv.xml", "--set", "extensionname=mp3", clip}, "the profile's format writes flv"},
    };
    for (const auto& [arguments, message] : cases) {
        const testmedia::ProcessResult result = testmedia::RunProcess(ProgramPath(), arguments);
        EXPECT_EQ(result.exitCode, 2) << result.output;
        EXPECT_TRUE(Contains(result.output, message)) << result.output;
    }
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"clip.flv"});
}

TEST_F(ProfileModeTest, AnInputThatDoesNotOpenFailsAloneAndLeavesNoReservedFile) {
    const std::string folder = TestFolder();
    const std::string clip = folder + "/clip.flv";
    fs::copy_file(SmallClip(1.0), clip);
    const testmedia::ProcessResult result =
            testmedia::RunProcess(ProgramPath(), {"--profile", "mp4.xml", folder + "/missing.flv", clip});
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_TRUE(Contains(result.output, "task 1: " + folder + "/missing.flv")) << result.output;
    EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"clip.flv", "clip_(new).mp4"}));
}

// Stopped as the first task starts: the task that never ran gives its reserved file back, and the
// one stopped leaves either nothing or an output with its streams.
TEST_F(ProfileModeTest, AStopLeavesNoReservedOrStreamlessOutput) {
    const std::string folder = TestFolder();
    for (const char* name : {"/first.flv", "/second.flv"}) fs::copy_file(SmallClip(20.0), folder + name);
    clitest::TRunningProgram program(clitest::ProgramPath(),
                                     {"--profile", "mp4.xml", folder + "/first.flv", folder + "/second.flv"});
    ASSERT_TRUE(program.WaitForText("Stream mapping:", std::chrono::seconds(60))) << program.Output();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 1) << program.Output();
    EXPECT_FALSE(fs::exists(folder + "/second_(new).mp4")) << program.Output();
    TAVProbe probe;
    const std::string first = folder + "/first_(new).mp4";
    EXPECT_TRUE(!fs::exists(first) || (probe.LoadFile(first) && probe.StreamCount() > 0)) << program.Output();
}

// The input is opened once: a pipe is read by the run alone, and a stop while it has no writer
// ends the program.
TEST_F(ProfileModeTest, APipeConvertsAndAStopWhileItHasNoWriterEndsTheRun) {
    const std::string folder = TestFolder();
    const std::string pipe = folder + "/pipe.flv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string clip = SmallClip(1.0);
    std::thread writer(
            [&] { std::ofstream(pipe, std::ios::binary) << std::ifstream(clip, std::ios::binary).rdbuf(); });
    const testmedia::ProcessResult fed = testmedia::RunProcess(ProgramPath(), {"--profile", "mp4.xml", pipe});
    writer.join();
    EXPECT_EQ(fed.exitCode, 0) << fed.output;
    TAVProbe probe;
    EXPECT_TRUE(probe.LoadFile(folder + "/pipe_(new).mp4") && probe.VideoStreamCount() == 1) << fed.output;

    clitest::TRunningProgram program(clitest::ProgramPath(), {"--profile", "mp4.xml", pipe});
    std::this_thread::sleep_for(std::chrono::seconds(1));  // blocked in opening the pipe by now
    program.Signal(SIGTERM);
    ASSERT_TRUE(program.WaitForText("stopped before any task ran", std::chrono::seconds(20)))
            << program.Output();
    EXPECT_EQ(program.Wait(), 1);
}

TEST_F(ProfileModeTest, DamagedProfileFilesAreNamedAndTheOthersStayUsable) {
    const std::string folder = TestFolder();
    const std::string program = ProgramWithProfiles(
            folder + "/program",
            {{"avi.xml", ""},
             {"wmv.xml", "this is not xml"},
             {"mkv.xml", "<profile><Main/></profile>"},
             {"mov.xml", "<profile><Parameter/></profile>"},
             {"ogg.xml", std::regex_replace(std::string(40, 'x'), std::regex("x"), "<a>")},
             {"mp3.xml", "<profile>" + std::string(300000, ' ')}});
    const testmedia::ProcessResult listing = testmedia::RunProcess(program, {"--list"});
    ASSERT_EQ(listing.exitCode, 0) << listing.output;
    const std::pair<const char*, const char*> lines[] = {
            {"avi.xml", "is empty"},
            {"wmv.xml", "is not a valid XML document"},
            {"mkv.xml", "has no Parameter section"},
            {"mov.xml", "has no Main section"},
            {"flv.xml", "does not exist"},
            {"ogg.xml", "nests its elements deeper than 32 levels"},
            {"mp3.xml", "is too large to be a profile store file"},
    };
    for (const auto& [file, reason] : lines)
        EXPECT_TRUE(Contains(ListingLine(listing.output, file), reason)) << ListingLine(listing.output, file);
    EXPECT_FALSE(Contains(ListingLine(listing.output, "mp4.xml"), "cannot be used")) << listing.output;

    const std::string clip = folder + "/clip.flv";
    fs::copy_file(SmallClip(1.0), clip);
    for (const auto& [file, reason] : lines) {
        const testmedia::ProcessResult result = testmedia::RunProcess(program, {"--profile", file, clip});
        EXPECT_EQ(result.exitCode, 2) << result.output;
        EXPECT_TRUE(Contains(result.output, reason)) << result.output;
    }
    const testmedia::ProcessResult usable = testmedia::RunProcess(program, {"--profile", "mp4.xml", clip});
    EXPECT_EQ(usable.exitCode, 0) << usable.output;
    EXPECT_TRUE(fs::exists(folder + "/clip_(new).mp4"));
}

}  // namespace
}  // namespace kestrova::clitest
