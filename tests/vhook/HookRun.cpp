#include "HookRun.h"

#include "TestMedia.h"

#include <unistd.h>
#include <filesystem>
#include <stdexcept>

namespace kestrova::vhooktest {

namespace fs = std::filesystem;

namespace {

std::string ProgramPath() {
    return testmedia::BuildDir() + "/bin/kestrova-cli";
}

bool NewerThan(const fs::path& file, const fs::path& other) {
    std::error_code error;
    const auto fileTime = fs::last_write_time(file, error);
    if (error) return false;
    const auto otherTime = fs::last_write_time(other, error);
    return error || fileTime >= otherTime;
}

}  // namespace

std::string VhookFile(const std::string& name) {
    return testmedia::BuildDir() + "/bin/vhook/" + name;
}

std::string StagedSource(const TSourceKind& kind) {
    testmedia::ClipSpec clip;
    clip.format = "mp4";
    clip.duration = 0.4;
    clip.audio = false;
    const std::string generated = testmedia::Clip(clip);
    const fs::path staged = fs::path(testmedia::BuildDir()) / "test-media" /
                            ("vhook-source-" + kind.PixelFormat + "-" + std::to_string(kind.Width) + "x" +
                             std::to_string(kind.Height) + ".nut");
    if (fs::exists(staged) && NewerThan(staged, generated) && NewerThan(staged, ProgramPath()))
        return staged.string();

    // Written under a private name and renamed into place: other test processes may ask at once.
    const fs::path partial = staged.string() + ".part" + std::to_string(getpid()) + ".nut";
    const std::string size = std::to_string(kind.Width) + "x" + std::to_string(kind.Height);
    const testmedia::ProcessResult result =
            testmedia::RunProcess(ProgramPath(), {"-i", generated, "-vcodec", "rawvideo", "-pix_fmt",
                                                  kind.PixelFormat, "-s", size, "-y", "1", partial.string()});
    if (result.exitCode != 0)
        throw std::runtime_error("cannot stage " + staged.string() + ":\n" + result.output);
    fs::rename(partial, staged);
    return staged.string();
}

testmedia::ProcessResult ConvertWithHooks(const std::string& source,
                                          const std::vector<std::string>& hookLines,
                                          const std::string& output,
                                          const std::vector<std::string>& options) {
    std::vector<std::string> arguments = {"-i", source, "-vcodec", "rawvideo"};
    for (const std::string& line : hookLines) {
        arguments.push_back("-vhook");
        arguments.push_back(line);
    }
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {"-y", "1", output});
    return testmedia::RunProcess(ProgramPath(), arguments);
}

std::string HookLine(const std::vector<std::string>& pieces) {
    bool blank = false;
    for (const std::string& piece : pieces) blank = blank || piece.find(' ') != std::string::npos;
    std::string line;
    for (const std::string& piece : pieces) {
        if (!line.empty()) line += blank ? '|' : ' ';
        line += piece;
    }
    return line;
}

}  // namespace kestrova::vhooktest
