// Damaged and odd command lines of kestrova-cli, in the queue mode above all: each ends with its
// exit code and message, changes no file that existed before, leaves nothing half made, and
// the tasks that can run still run.
#include "engine/frame/AVProbe.h"
#include "tests/engine/front/EngineTestSupport.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/RunningProgram.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrova::robustness {
namespace {

namespace fs = std::filesystem;

// "@" stands for the case's folder and "@clip" for a clip, in every text of a case.
struct TCommandLineCase {
    const char* Name;
    std::string Arguments;  // space-separated
    int ExitCode;
    std::string Messages;  // what the output must hold, "|"-separated
    // Space-separated: "=name" made before the run and kept as it was, "+name" an output the
    // probe opens, "-name" a file not there after the run.
    std::string Files;
};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::vector<std::string> FilesMarked(const std::string& files, char mark) {
    std::vector<std::string> names;
    for (const std::string& word : Split(files, ' '))
        if (word[0] == mark) names.push_back(word.substr(1));
    return names;
}

const char* const kKept = "kept as it was";

void PrintTo(const TCommandLineCase& testCase, std::ostream* out) {
    *out << testCase.Name;
}

std::string Expanded(std::string text, const std::string& folder, const std::string& clip) {
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        const bool isClip = text.compare(at, 5, "@clip") == 0;
        text.replace(at, isClip ? 5 : 1, isClip ? clip : folder);
        at += isClip ? clip.size() : folder.size();
    }
    return text;
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A WAV whose header says 0 channels, and one that is only its header.
void WriteDamagedWavs(const std::string& folder) {
    std::string bytes = FileText(testing::SmallClip(0.3, "wav"));
    std::ofstream(folder + "/header.wav", std::ios::binary) << bytes.substr(0, 44);
    bytes[22] = bytes[23] = 0;  // the channel count of the fmt chunk
    std::ofstream(folder + "/zero.wav", std::ios::binary) << bytes;
}

std::vector<TCommandLineCase> Cases() {
    const std::string longName = "@/" + std::string(300, 'n') + ".mkv";
    return {
            {"OverwriteBelongsToItsTask", "-processes 1 -i @clip @/e1.mkv -i @clip -y 1 @/y1.mkv", 2,
             "task 1: File '@/e1.mkv' already exists", "=@/e1.mkv -@/y1.mkv"},
            {"SameOutputTwice", "-processes 2 -i @clip @/s.mp4 -i @clip @/./s.mp4", 2,
             "task 1 and task 2 write the same file: '@/s.mp4' and '@/./s.mp4'", "-@/s.mp4"},
            {"SameOutputThroughDoubleSlash", "-processes 1 -i @clip @/s.mp4 -i @clip @//s.mp4", 2,
             "task 1 and task 2 write the same file", "-@/s.mp4"},
            {"SameOutputThroughALink", "-processes 1 -i @clip @/s.mp4 -i @clip -y 1 @/link.mp4", 2,
             "task 1 and task 2 write the same file", "-@/s.mp4"},
            {"OutputIsAnotherTasksInput", "-processes 1 -i @/in.flv @/o.mkv -i @clip -y 1 @/in.flv", 2,
             "task 2 writes '@/in.flv', the input of task 1", "=@/in.flv -@/o.mkv"},
            {"AFailedQueueKeepsExistingOutputs",
             "-processes 1 -y 1 -i @clip @/e1.mkv -vcodec nosuch @/e2.mkv", 1,
             "task 1 (@/e1.mkv): failed: new_video_stream fail: Unknown encoder 'nosuch'",
             "=@/e1.mkv =@/e2.mkv"},
            {"SetUpFailuresFailAlone",
             "-processes 2 -i @/missing.flv @/m.mkv -i @clip @/ok.mkv -i @clip -f nosuch @/f.mkv -i @ "
             "@/d.mkv",
             1,
             "1 of 4 tasks finished|task 1 (@/m.mkv): failed: @/missing.flv: no such file|task 3 (@/f.mkv): "
             "failed: Requested output format 'nosuch'|task 4 (@/d.mkv): failed: ",
             "+@/ok.mkv -@/m.mkv -@/f.mkv -@/d.mkv"},
            {"TheSystemsReasonForAnOutput", "-processes 1 -i @clip " + longName, 1, "': File name too long",
             ""},
            {"ZeroChannelWavCopy", "-i @/zero.wav -acodec copy @/o.wav", 1,
             "Audio stream #0.0 has no channels or no sample rate: it cannot be copied", "-@/o.wav"},
            {"HeaderOnlyWavToFlac", "-i @/header.wav @/o.flac", 1,
             "Output file #0 is empty, nothing was encoded", "-@/o.flac"},
    };
}

class CommandLineCasesTest : public ::testing::TestWithParam<TCommandLineCase> {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }
};

TEST_P(CommandLineCasesTest, EndsWithItsCodeAndChangesNoFile) {
    const TCommandLineCase& testCase = GetParam();
    const std::string clip = testing::SmallClip(0.6);
    const std::string folder = testmedia::TempDir(std::string("cli_") + testCase.Name);
    const auto expand = [&](const std::string& text) { return Expanded(text, folder, clip); };
    fs::create_symlink("s.mp4", folder + "/link.mp4");
    WriteDamagedWavs(folder);
    for (const std::string& name : FilesMarked(testCase.Files, '=')) std::ofstream(expand(name)) << kKept;

    std::vector<std::string> arguments;
    for (const std::string& argument : Split(testCase.Arguments, ' ')) arguments.push_back(expand(argument));
    const testmedia::ProcessResult result = testmedia::RunProcess(clitest::ProgramPath(), arguments);
    EXPECT_EQ(result.exitCode, testCase.ExitCode) << result.output;
    for (const std::string& message : Split(testCase.Messages, '|'))
        EXPECT_NE(result.output.find(expand(message)), std::string::npos) << expand(message) << "\n"
                                                                          << result.output;
    for (const std::string& name : FilesMarked(testCase.Files, '='))
        EXPECT_EQ(FileText(expand(name)), kKept) << name;
    for (const std::string& name : FilesMarked(testCase.Files, '+')) {
        TAVProbe probe;
        EXPECT_TRUE(probe.LoadFile(expand(name))) << name << ": " << probe.LastErrMsg();
    }
    for (const std::string& name : FilesMarked(testCase.Files, '-'))
        EXPECT_FALSE(fs::exists(expand(name))) << name;
    // Nothing of the run's own is left behind: every file is one the case names.
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find(".kestrova-"), std::string::npos) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineCasesTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<TCommandLineCase>& info) {
                             return info.param.Name;
                         });

}  // namespace
}  // namespace kestrova::robustness
