// The single conversion gets the cores of a task running alone on the component, and a thread
// count given with -threads wins, as x264's settings in the output say.
#include "tests/engine/front/EngineTestSupport.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/RunningProgram.h"

namespace kestrova::testing {

TEST(SingleJobCoresTest, TheJobAloneGetsEveryCoreUnlessThreadsIsGiven) {
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const std::string output = TestFolder() + "/out.mp4";
    for (const std::string threads : {"", "3"}) {
        std::vector<std::string> arguments{"-y", "1", "-i", SmallClip(1.0), "-vcodec", "libx264", output};
        if (!threads.empty()) arguments.insert(arguments.begin(), {"-threads", threads});
        const testmedia::ProcessResult result = testmedia::RunProcess(clitest::ProgramPath(), arguments);
        ASSERT_EQ(result.exitCode, 0) << result.output;
        EXPECT_EQ(X264Threads(output), threads.empty() ? (cores > 1 ? 2 * cores : 1) : 3) << result.output;
    }
}

}  // namespace kestrova::testing
