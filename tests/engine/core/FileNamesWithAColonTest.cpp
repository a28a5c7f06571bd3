// Names the user types are files, never the media libraries' protocols: an output named like a
// protocol address is written as a file of that name in the working folder, and an input whose
// name holds a colon opens.
#include "tests/engine/core/TranscodeTestSupport.h"

#include <unistd.h>

#include <filesystem>

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

// Runs the test in its own folder, as a user typing relative names would.
class FileNamesWithAColonTest : public RunTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        RunTest::SetUp();
        FFolder = TestFolder();
        FPrevious = fs::current_path();
        fs::current_path(FFolder);
    }
    void TearDown() override {
        fs::current_path(FPrevious);
        RunTest::TearDown();
    }
    std::string FFolder;
    fs::path FPrevious;
};

TEST_P(FileNamesWithAColonTest, AProtocolLikeOutputNameIsWrittenAsAFile) {
    const std::string output = GetParam();
    fs::copy_file(RunClip("flv", 1.0), "a:b.flv");
    Prepare("a:b.flv", {{"vcodec", "copy"}, {"acodec", "copy"}}, output);
    EXPECT_TRUE(Run()) << job.RunState().FailureText;
    job.ReleaseJob();
    const TProbedFile written = ProbeFile(FFolder + "/" + output);
    ASSERT_TRUE(written.Opened) << "no file named " << output;
    EXPECT_NEAR(written.Duration, 1.0, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Names, FileNamesWithAColonTest,
                         ::testing::Values("md5:h.flv", "pipe:z.flv", "file:y.flv"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(0, std::string(info.param).find(':'));
                         });

}  // namespace
}  // namespace kestrova::testing
