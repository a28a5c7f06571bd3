// SIGTERM and SIGHUP stop kestrova-cli the way Ctrl+C does, in the single-job mode and in the
// queue mode: the run ends after the packet at hand with its output complete (an MP4 opens
// only with its index written), and the program exits with 1.
#include "tests/engine/front/EngineTestSupport.h"
#include "tests/support/RunningProgram.h"

#include <signal.h>
#include <sys/stat.h>

#include <thread>

namespace kestrova::clitest {
namespace {

using kestrova::testing::ReadBack;
using kestrova::testing::SmallClip;
using kestrova::testing::TestFolder;
using kestrova::testing::TReadBack;

class StopSignalsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }
};

TEST_F(StopSignalsTest, TermAndHangUpStopTheRunWithItsOutputComplete) {
    const std::string clip = SmallClip(30.0);
    const std::string folder = TestFolder();
    for (const int signal : {SIGTERM, SIGHUP}) {
        for (const bool queue : {false, true}) {
            SCOPED_TRACE(std::string(strsignal(signal)) + (queue ? " (queue)" : " (single)"));
            const std::string output = folder + "/" + std::to_string(signal) + (queue ? "q" : "s") + ".mp4";
            std::vector<std::string> arguments{"-i",    clip,      "-re",  "1",   "-vcodec",
                                               "mpeg4", "-acodec", "copy", output};
            if (queue) arguments.insert(arguments.begin(), {"-processes", "1"});
            TRunningProgram program(ProgramPath(), arguments);
            ASSERT_TRUE(program.Started());
            // Read at the clip's own pace: the run is well under way a second after it started.
            ASSERT_TRUE(program.WaitForText("Stream mapping:", std::chrono::seconds(60))) << program.Output();
            std::this_thread::sleep_for(std::chrono::seconds(1));
            program.Signal(signal);
            EXPECT_EQ(program.Wait(), 1) << program.Output();
            const TReadBack result = ReadBack(output);
            ASSERT_TRUE(result.Opened) << program.Output();
            ASSERT_NE(result.First(AVMEDIA_TYPE_VIDEO), nullptr);
            EXPECT_GT(result.First(AVMEDIA_TYPE_VIDEO)->Seconds, 0.2);
            EXPECT_LT(result.First(AVMEDIA_TYPE_VIDEO)->Seconds, 20.0);
        }
    }
}

// A stop is obeyed while the input blocks: opening a pipe that has no writer, or reading
// endless garbage as FLV.
TEST_F(StopSignalsTest, AStopEndsTheRunWhileTheInputBlocks) {
    const std::string folder = TestFolder();
    const std::string pipe = folder + "/pipe.flv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::vector<std::string> cases[] = {
            {"-i", pipe, folder + "/single.mkv"},
            {"-processes", "1", "-i", pipe, folder + "/queue.mkv"},
            {"-f", "flv", "-i", "/dev/urandom", folder + "/garbage.mkv"},
            {"-processes", "1", "-f", "flv", "-i", "/dev/urandom", folder + "/garbage-queue.mkv"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        SCOPED_TRACE(arguments[arguments.size() - 2]);
        TRunningProgram program(ProgramPath(), arguments);
        std::this_thread::sleep_for(std::chrono::seconds(1));  // blocked in its input by now
        program.Signal(SIGTERM);
        const auto signalled = std::chrono::steady_clock::now();
        program.WaitForText("\x01", std::chrono::seconds(20));  // never printed: returns once it ended
        ASSERT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(20)) << program.Output();
        EXPECT_EQ(program.Wait(), 1) << program.Output();
    }
}

}  // namespace
}  // namespace kestrova::clitest
