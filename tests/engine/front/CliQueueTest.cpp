// The command-line front's queue mode on the engine component: how a command line becomes
// tasks, the program's runs with per-task options, failures and Ctrl+C, and the help and
// version switches.
#include "tests/engine/front/EngineTestSupport.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/RunningProgram.h"
#include "tools/cli/QueueCommandLine.h"

#include <signal.h>

namespace kestrova::testing {
namespace {

using clitest::ProgramPath;
using clitest::TRunningProgram;

// The tasks of a queue command line in one line of text; the error text when it is refused.
std::string DescribeQueue(const std::vector<std::string>& arguments) {
    try {
        const cli::TQueueCommandLine queue = cli::ParseQueueCommandLine(cli::ParseCommandLine(arguments));
        std::string text = "processes=" + std::to_string(queue.Processes);
        const auto options = [](const cli::TOptionPairs& pairs) {
            std::string list;
            for (const auto& [name, value] : pairs) list += (list.empty() ? "" : ",") + name + "=" + value;
            return "[" + list + "]";
        };
        for (const cli::TQueueTask& task : queue.Tasks) {
            text += "; " + task.Input + options(task.InputOptions) + (task.Overwrite ? " -y ->" : " ->");
            for (const cli::TQueueOutput& output : task.Outputs)
                text += " " + output.FileName + options(output.Options) + (output.Join ? "+join" : "");
        }
        return text;
    } catch (const cli::ECommandLine& error) {
        return std::string("error: ") + error.what();
    }
}

TEST(QueueCommandLineTest, EachInputAfterAnOutputStartsATaskWithItsOwnOptions) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
            {{"-processes", "2", "-i", "a.flv", "-vcodec", "copy", "a.mkv", "-ss", "1", "-i", "b.flv",
              "b.mkv", "-acodec", "mp2", "b.mpg"},
             "processes=2; a.flv[] -> a.mkv[vcodec=copy]; b.flv[ss=1] -> b.mkv[] b.mpg[acodec=mp2]"},
            {{"-i", "a.flv", "a.mkv", "-processes", "3"}, "processes=3; a.flv[] -> a.mkv[]"},
            {{"-i", "a.flv", "-join", "1", "a.mkv", "-processes", "3", "-i", "b.flv", "b.mkv"},
             "processes=3; a.flv[] -> a.mkv[]+join; b.flv[] -> b.mkv[]"},
            {{"-y", "1", "-processes", "2", "-i", "a.flv", "a.mkv", "-i", "b.flv", "-y", "1", "-y", "0",
              "b.mkv", "-i", "c.flv", "c.mkv", "-y", "1"},
             "processes=2; a.flv[] -y -> a.mkv[]; b.flv[] -> b.mkv[]; c.flv[] -y -> c.mkv[]"},
            {{"-processes", "0", "-i", "a.flv", "a.mkv"}, "error: Invalid value for -processes: 0"},
            {{"-processes", "2x", "-i", "a.flv", "a.mkv"}, "error: Invalid value for -processes: 2x"},
            {{"-processes", "2", "-i", "a.flv", "-i", "b.flv", "ab.mkv"},
             "error: A task of the queue reads one input: -i b.flv"},
            {{"-processes", "2", "a.mkv"}, "error: An output needs an input before it: a.mkv"},
            {{"-processes", "2", "-i", "a.flv", "a.mkv", "-vcodec", "copy"},
             "error: Options after the last output apply to nothing: -vcodec"},
            {{"-processes", "2", "-vpre", "default", "-i", "a.flv", "a.mkv"},
             "error: Option -vpre belongs to an output: give it after -i a.flv"},
            {{"-processes", "2", "-i", "a.flv", "-title", "one\ntwo", "a.mkv"},
             "error: Option -title: a value of the queue mode holds no line break"},
            {{"-processes", "2"}, "error: The queue holds no task: give -i INPUT and an output"},
    };
    for (const auto& [arguments, expected] : cases) EXPECT_EQ(DescribeQueue(arguments), expected);
}

class CliQueueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }
};

TEST_F(CliQueueTest, RunsEveryTaskWithItsOwnOptionsAndExitsWithZero) {
    const std::string folder = TestFolder();
    const std::string clip = SmallClip(3.0);
    const testmedia::ProcessResult result = testmedia::RunProcess(
            ProgramPath(),
            {"-processes", "2", "-i", clip, "-vcodec", "copy", "-acodec", "copy", folder + "/whole.mkv", "-i",
             clip, "-t", "1", "-vcodec", "copy", "-acodec", "copy", folder + "/second.mkv"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("task 1 (" + folder + "/whole.mkv): finished"), std::string::npos)
            << result.output;
    EXPECT_NE(result.output.find("task 2 (" + folder + "/second.mkv): finished"), std::string::npos);
    EXPECT_NE(result.output.find("2 of 2 tasks finished"), std::string::npos);
    EXPECT_EQ(result.output.find('\r'), std::string::npos);  // not a terminal: plain lines
    EXPECT_NEAR(ReadBack(folder + "/whole.mkv").First(AVMEDIA_TYPE_VIDEO)->Seconds, 3.0, 0.1);
    EXPECT_NEAR(ReadBack(folder + "/second.mkv").First(AVMEDIA_TYPE_VIDEO)->Seconds, 1.0, 0.1);
}

TEST_F(CliQueueTest, ATaskThatFailsMakesTheExitCodeNonZeroAndTheOthersGoOn) {
    const std::string folder = TestFolder();
    const std::string clip = SmallClip(1.0);
    const testmedia::ProcessResult result = testmedia::RunProcess(
            ProgramPath(),
            {"-processes", "1", "-i", clip, "-map", "0.0", "-vcodec", "copy", "-acodec", "copy",
             folder + "/failed.mkv", "-i", clip, "-vcodec", "copy", "-acodec", "copy", folder + "/good.mkv"});
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_NE(result.output.find("failed: Number of stream maps must match number of output streams"),
              std::string::npos)
            << result.output;
    EXPECT_NE(result.output.find("1 of 2 tasks finished"), std::string::npos);
    EXPECT_TRUE(ReadBack(folder + "/good.mkv").Opened);
}

TEST_F(CliQueueTest, ATaskThatCannotBeAddedFailsAloneAndTheOthersRun) {
    const std::string folder = TestFolder();
    const testmedia::ProcessResult result = testmedia::RunProcess(
            ProgramPath(), {"-processes", "2", "-i", SmallClip(1.0), folder + "/first.mkv", "-i",
                            folder + "/missing.flv", folder + "/second.mkv"});
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_NE(result.output.find("task 2: " + folder + "/missing.flv: no such file or directory"),
              std::string::npos)
            << result.output;
    EXPECT_NE(result.output.find("1 of 2 tasks finished"), std::string::npos) << result.output;
    EXPECT_TRUE(ReadBack(folder + "/first.mkv").Opened);
}

// Ctrl+C stops the run: every output is complete (an MP4 opens only with its trailer) and the
// program reports once the final notice has come.
TEST_F(CliQueueTest, CtrlCStopsEveryTaskWithItsOutputComplete) {
    const std::string folder = TestFolder();
    const std::string clip = SmallClip(30.0);
    // Read at the clip's own pace ("-re 1"): the run is still going when the signal comes.
    std::vector<std::string> arguments{"-processes", "2"};
    for (const char* name : {"/one.mp4", "/two.mp4"})
        arguments.insert(arguments.end(),
                         {"-i", clip, "-re", "1", "-vcodec", "mpeg4", "-acodec", "copy", folder + name});
    TRunningProgram program(ProgramPath(), arguments);
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.WaitForText("time=", std::chrono::seconds(60))) << program.Output();
    program.Signal(SIGINT);
    EXPECT_EQ(program.Wait(), 1) << program.Output();
    EXPECT_NE(program.Output().find("stopping every task"), std::string::npos) << program.Output();
    EXPECT_NE(program.Output().find("0 of 2 tasks finished"), std::string::npos) << program.Output();
    for (const char* name : {"/one.mp4", "/two.mp4"}) {
        const TReadBack result = ReadBack(folder + name);
        ASSERT_TRUE(result.Opened) << name;
        ASSERT_NE(result.First(AVMEDIA_TYPE_VIDEO), nullptr) << name;
        EXPECT_LT(result.First(AVMEDIA_TYPE_VIDEO)->Seconds, 20.0) << name;
    }
}

TEST(CliSwitchesTest, HelpAndVersionPrintAndExitWithZero) {
    const std::pair<const char*, const char*> cases[] = {
            {"-h", "usage: kestrova-cli"},
            {"--help", "-processes N"},
            {"--version", "kestrova-cli 3.0.0.0"},
    };
    for (const auto& [argument, expected] : cases) {
        const testmedia::ProcessResult result = testmedia::RunProcess(ProgramPath(), {argument});
        EXPECT_EQ(result.exitCode, 0) << argument;
        EXPECT_NE(result.output.find(expected), std::string::npos) << argument << ": " << result.output;
    }
    // Anywhere else -h is an option of the engine and needs its value.
    const testmedia::ProcessResult result = testmedia::RunProcess(ProgramPath(), {"-i", "a.flv", "-h"});
    EXPECT_EQ(result.exitCode, 2);
}

}  // namespace
}  // namespace kestrova::testing
