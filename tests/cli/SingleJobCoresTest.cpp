// The single conversion gets the cores of a task running alone on the component, and a thread
// count given with -threads wins, as x264's settings in the output say.
#include "tests/engine/front/EngineTestSupport.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/RunningProgram.h"

namespace kestrova::clitest {
namespace {

TEST(SingleJobCoresTest, TheJobAloneGetsEveryCoreUnlessThreadsIsGiven) {
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const std::pair<std::vector<std::string>, int> cases[] = {{{}, cores > 1 ? 2 * cores : 1},
                                                              {{"-threads", "3"}, 3}};
    for (const auto& [threads, expected] : cases) {
        const std::string output = testing::TestFolder() + "/out.mp4";
        std::vector<std::string> arguments = threads;
        arguments.insert(arguments.end(), {"-i", testing::SmallClip(1.0), "-vcodec", "libx264", output});
        const testmedia::ProcessResult result = testmedia::RunProcess(ProgramPath(), arguments);
        ASSERT_EQ(result.exitCode, 0) << result.output;
        EXPECT_EQ(testing::X264Threads(output), expected) << result.output;
    }
}

}  // namespace
}  // namespace kestrova::clitest
