// The command-line front: its reading of the command line, and the program run as a user runs
// it, with its exit code and what it prints.
#include "tests/engine/core/TranscodeTestSupport.h"

#include "tests/support/ProcessRun.h"
#include "tools/cli/CommandLine.h"
#include "tools/cli/Console.h"

namespace kestrova::testing {
namespace {

using cli::TCommandStep;

TEST(CommandLineTest, KeepsTheOrderOfOptionsInputsAndOutputs) {
    const std::vector<TCommandStep> steps = cli::ParseCommandLine(
            {"-itsoffset", "1", "-i", "a.flv", "-vn", "1", "out.mp3", "-acodec", "copy", "out2.mp3"});
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[0].Kind, TCommandStep::Option);
    EXPECT_EQ(steps[0].Name, "itsoffset");
    EXPECT_EQ(steps[0].Value, "1");
    EXPECT_EQ(steps[1].Kind, TCommandStep::Input);
    EXPECT_EQ(steps[1].Name, "a.flv");
    EXPECT_EQ(steps[2].Name, "vn");
    EXPECT_EQ(steps[3].Kind, TCommandStep::Output);
    EXPECT_EQ(steps[3].Name, "out.mp3");
    EXPECT_FALSE(steps[3].Join);
    EXPECT_EQ(steps[4].Name, "acodec");
    EXPECT_EQ(steps[5].Name, "out2.mp3");
}

TEST(CommandLineTest, JoinAppliesToTheNextOutputOnly) {
    const std::vector<TCommandStep> steps =
            cli::ParseCommandLine({"-i", "a", "-i", "b", "-join", "1", "joined.mkv", "other.mkv"});
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_TRUE(steps[2].Join);
    EXPECT_FALSE(steps[3].Join);
}

TEST(CommandLineTest, AnOptionNeedsAValue) {
    EXPECT_THROW(cli::ParseCommandLine({"-i", "a.flv", "out.mp4", "-y"}), cli::ECommandLine);
}

TEST(CommandLineTest, ProgressTextShowsTimeSizeAndShare) {
    TJobProgress progress;
    progress.CurrentDuration = 65'000'000;
    progress.TotalSize = 3 * 1024 * 1024 / 2;
    progress.TotalDuration = 130'000'000;
    EXPECT_EQ(cli::ProgressText(progress), "time=00:01:05 size=    1.50MB  50%");
    progress.TotalDuration = -1;
    EXPECT_EQ(cli::ProgressText(progress), "time=00:01:05 size=    1.50MB");
}

// What the console wrote into a scratch stream.
std::string Written(std::FILE* stream) {
    std::fflush(stream);
    std::rewind(stream);
    std::string text;
    for (int c = std::fgetc(stream); c != EOF; c = std::fgetc(stream)) text += static_cast<char>(c);
    return text;
}

TEST(ConsoleTest, ProgressUpdatesOneLineAndLogLinesPassAboveIt) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    {
        cli::TConsole console(stream, true);
        TJobProgress progress;
        progress.CurrentDuration = 1'000'000;
        console.ShowProgress(progress);
        progress.CurrentDuration = 2'000'000;
        console.ShowProgress(progress);
        console.PrintLogLine("a log line");
        console.FinishProgress();
    }
    const std::string shown = "time=00:00:02 size=    0.00MB";
    EXPECT_EQ(Written(stream), "\rtime=00:00:01 size=    0.00MB"
                               "\r\033[K\r" +
                                       shown + "\r\033[Ka log line\n" + shown + "\n");
    std::fclose(stream);
}

TEST(ConsoleTest, WithoutAProgressLineOnlyLogLinesAreWritten) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    {
        cli::TConsole console(stream, false);
        console.ShowProgress(TJobProgress{});
        console.PrintLogLine("only this");
        console.FinishProgress();
    }
    EXPECT_EQ(Written(stream), "only this\n");
    std::fclose(stream);
}

std::string ProgramPath() {
    return testmedia::BuildDir() + "/bin/kestrova-cli";
}

// The results are read back through the libraries.
class CliProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }
};

TEST_F(CliProgramTest, ConvertsAndExitsWithZero) {
    const std::string output = TestFolder() + "/copy.mkv";
    const testmedia::ProcessResult result =
            testmedia::RunProcess(ProgramPath(), {"-i", RunClip("f4v", 1.0), "-vcodec", "copy", "-acodec",
                                                  "copy", "-y", "1", output});
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("Stream mapping:"), std::string::npos);
    EXPECT_EQ(result.output.find('\r'), std::string::npos);  // not a terminal: no progress line
    EXPECT_GT(FileSize(output), 0u);
}

// The run script's sample conversion: an FLV re-encoded into MP4 with the format's own codecs.
TEST_F(CliProgramTest, ConvertsFlvIntoMp4WithTheFormatsCodecs) {
    const std::string output = TestFolder() + "/out.mp4";
    const testmedia::ProcessResult result =
            testmedia::RunProcess(ProgramPath(), {"-i", RunClip("flv", 1.0), "-y", "1", output});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    const TProbedFile probe = ProbeFile(output);
    ASSERT_TRUE(probe.Opened);
    EXPECT_EQ(probe.Streams.size(), 2u);
    EXPECT_NEAR(probe.Duration, 1.0, 0.15);
}

TEST_F(CliProgramTest, AJobWithoutOutputExitsNonZeroWithTheReason) {
    const testmedia::ProcessResult result = testmedia::RunProcess(ProgramPath(), {"-i", RunClip("f4v", 1.0)});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.output.find("At least one output file must be specified"), std::string::npos)
            << result.output;
}

TEST_F(CliProgramTest, ARefusedOptionOrInputExitsNonZeroWithTheReason) {
    const std::string folder = TestFolder();
    testmedia::ProcessResult result = testmedia::RunProcess(
            ProgramPath(), {"-i", RunClip("f4v", 1.0), "-qscale", "0", folder + "/out.mkv"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.output.find("qscale must be > 0.0 and <= 255"), std::string::npos) << result.output;

    result = testmedia::RunProcess(ProgramPath(), {"-i", folder + "/missing.flv", folder + "/out.mkv"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.output.find("missing.flv: no such file or directory"), std::string::npos)
            << result.output;
}

TEST_F(CliProgramTest, WithoutArgumentsShowsHowToCallIt) {
    const testmedia::ProcessResult result = testmedia::RunProcess(ProgramPath(), {});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.output.find("usage: kestrova-cli"), std::string::npos);
}

}  // namespace
}  // namespace kestrova::testing
