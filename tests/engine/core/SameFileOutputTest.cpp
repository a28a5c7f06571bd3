// An output that is one of the inputs under any name (the same path, another spelling of it, a
// hard link, a symbolic link) is refused before anything is opened for writing: the input stays
// whole. A copy of the input is another file and is taken.
#include "tests/engine/core/TranscodeTestSupport.h"

#include <filesystem>

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

enum class TSpelling { SamePath, DotSlashForm, HardLink, SymbolicLink, Copy };

struct TSameFileCase {
    const char* Name;
    TSpelling Spelling;
    bool Refused;
};

class SameFileOutputTest : public RunTest, public ::testing::WithParamInterface<TSameFileCase> {};

// The name the case gives the output for `input`, made in `folder` where it needs a file.
std::string OutputName(TSpelling spelling, const std::string& input, const std::string& folder) {
    const fs::path inputPath(input);
    switch (spelling) {
        case TSpelling::SamePath:
            return input;
        case TSpelling::DotSlashForm:
            return (inputPath.parent_path() / "." / inputPath.filename()).string();
        case TSpelling::HardLink:
            fs::create_hard_link(inputPath, folder + "/linked.flv");
            return folder + "/linked.flv";
        case TSpelling::SymbolicLink:
            fs::create_symlink(inputPath, folder + "/pointing.flv");
            return folder + "/pointing.flv";
        case TSpelling::Copy:
            fs::copy_file(inputPath, folder + "/copied.flv");
            return folder + "/copied.flv";
    }
    return input;
}

TEST_P(SameFileOutputTest, AnOutputThatIsAnInputIsRefusedBeforeItIsOpened) {
    const TSameFileCase& same = GetParam();
    const std::string folder = TestFolder();
    // The input is a copy of its own in the test's folder: the case may link to it.
    const std::string input = folder + "/input.flv";
    fs::copy_file(RunClip("flv", 1.0), input);
    const std::uintmax_t size = FileSize(input);
    const std::string output = OutputName(same.Spelling, input, folder);
    ASSERT_TRUE(job.AddInputFile(input)) << job.LastError();
    job.ApplyOption("vcodec", "copy");
    job.ApplyOption("acodec", "copy");
    const int added = job.AddOutputFile(output, false);
    if (same.Refused) {
        EXPECT_LT(added, 0);
        EXPECT_NE(job.LastError().find("is the same file as input file #0"), std::string::npos)
                << job.LastError();
    } else {
        ASSERT_GT(added, 0) << job.LastError();
        EXPECT_TRUE(Run()) << job.RunState().FailureText;
    }
    job.ReleaseJob();
    EXPECT_EQ(FileSize(input), size);
}

INSTANTIATE_TEST_SUITE_P(Cases, SameFileOutputTest,
                         ::testing::Values(TSameFileCase{"SamePath", TSpelling::SamePath, true},
                                           TSameFileCase{"DotSlashForm", TSpelling::DotSlashForm, true},
                                           TSameFileCase{"HardLink", TSpelling::HardLink, true},
                                           TSameFileCase{"SymbolicLink", TSpelling::SymbolicLink, true},
                                           TSameFileCase{"Copy", TSpelling::Copy, false}),
                         [](const ::testing::TestParamInfo<TSameFileCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace kestrova::testing
