// What kestrova-cli refuses before it converts, with exit code 2 and the reason: an option
// that neither the engine nor any library knows, a value a library refuses, an existing output
// without "-y 1"; in the single-job mode and in the queue mode alike. Nothing is written then.
#include "tests/engine/front/EngineTestSupport.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/RunningProgram.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrova::clitest {
namespace {

using kestrova::testing::ReadBack;
using kestrova::testing::SmallClip;
using kestrova::testing::TestFolder;

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class CliRefusalsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }

    // The command line with "-processes 1" in front for the queue mode.
    static std::vector<std::string> InMode(bool queue, std::vector<std::string> arguments) {
        if (queue) arguments.insert(arguments.begin(), {"-processes", "1"});
        return arguments;
    }
};

TEST_F(CliRefusalsTest, UnknownOptionsAndRefusedValuesExitWithTwoBeforeAnythingIsWritten) {
    const std::string clip = SmallClip(1.0);
    const std::string folder = TestFolder();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
            {{"-foo", "1"}, "Unrecognized option '-foo'"},
            {{"-g", "abc"}, "Invalid value \"abc\" for option \"g\""},
            {{"-b", "abc"}, "Invalid value \"abc\" for option \"b\""},
            {{"-vcodec", "libx264", "-crf", "abc"}, "Invalid value \"abc\" for option \"crf\""},
            {{"-qscale", "0"}, "qscale must be > 0.0 and <= 255"},
    };
    for (const bool queue : {false, true}) {
        for (const auto& [options, message] : cases) {
            const std::string output = folder + "/out.mkv";
            std::vector<std::string> arguments{"-i", clip};
            arguments.insert(arguments.end(), options.begin(), options.end());
            arguments.push_back(output);
            const testmedia::ProcessResult result =
                    testmedia::RunProcess(ProgramPath(), InMode(queue, arguments));
            SCOPED_TRACE((queue ? "queue: " : "single: ") + options.front());
            EXPECT_EQ(result.exitCode, 2) << result.output;
            EXPECT_NE(result.output.find(message), std::string::npos) << result.output;
            EXPECT_FALSE(std::filesystem::exists(output));
        }
    }
}

// The engine logs a refused library value and goes on; the terminal shows it as a warning.
TEST_F(CliRefusalsTest, InvalidValueLinesAreShownAsWarnings) {
    const testmedia::ProcessResult result = testmedia::RunProcess(
            ProgramPath(), {"-i", SmallClip(1.0), "-g", "abc", TestFolder() + "/out.mkv"});
    EXPECT_NE(result.output.find("warning: Invalid value \"abc\" for option \"g\""), std::string::npos)
            << result.output;
}

TEST_F(CliRefusalsTest, LibraryAndEncoderOptionsStillApply) {
    const std::string clip = SmallClip(1.0);
    const std::string folder = TestFolder();
    for (const bool queue : {false, true}) {
        const std::string output = folder + (queue ? "/queue.mkv" : "/single.mkv");
        const testmedia::ProcessResult result = testmedia::RunProcess(
                ProgramPath(), InMode(queue, {"-i", clip, "-vcodec", "libx264", "-crf", "30", "-g", "12",
                                              "-acodec", "copy", output}));
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_TRUE(ReadBack(output).Opened) << output;
    }
}

TEST_F(CliRefusalsTest, AnExistingOutputIsKeptUnlessYIsOne) {
    const std::string clip = SmallClip(1.0);
    const std::string folder = TestFolder();
    const std::string output = folder + "/kept.mkv";
    const std::vector<std::vector<std::string>> refusedSwitches = {{}, {"-y", "0"}};
    for (const bool queue : {false, true}) {
        for (const std::vector<std::string>& overwriteSwitch : refusedSwitches) {
            std::ofstream(output, std::ios::binary) << "precious";
            std::vector<std::string> arguments = overwriteSwitch;
            arguments.insert(arguments.end(), {"-i", clip, "-vcodec", "copy", "-acodec", "copy", output});
            const testmedia::ProcessResult result =
                    testmedia::RunProcess(ProgramPath(), InMode(queue, arguments));
            EXPECT_EQ(result.exitCode, 2) << result.output;
            EXPECT_NE(result.output.find("File '" + output + "' already exists"), std::string::npos)
                    << result.output;
            EXPECT_EQ(FileText(output), "precious");
        }
        const testmedia::ProcessResult result = testmedia::RunProcess(
                ProgramPath(),
                InMode(queue, {"-i", clip, "-vcodec", "copy", "-acodec", "copy", output, "-y", "1"}));
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_TRUE(ReadBack(output).Opened);
    }
}

}  // namespace
}  // namespace kestrova::clitest
