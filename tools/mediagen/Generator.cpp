#include "tools/mediagen/Generator.h"

#include "tools/mediagen/ClipWriter.h"
#include "tools/mediagen/Damage.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace kestrova::mediagen {

namespace {

namespace fs = std::filesystem;

// The work file beside the output: same folder (so the final rename is atomic), a name no
// other process uses at the same time.
class WorkFile {
public:
    explicit WorkFile(const std::string& output)
        : path_(output + ".part-" + std::to_string(::getpid())) {}
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;
    ~WorkFile() {
        std::error_code ignored;
        if (!committed_) fs::remove(path_, ignored);
    }
    const std::string& Path() const { return path_; }
    void MoveTo(const std::string& output) {
        std::error_code error;
        fs::rename(path_, output, error);
        if (error) throw std::runtime_error("could not move the clip to " + output + ": " + error.message());
        committed_ = true;
    }

private:
    std::string path_;
    bool committed_ = false;
};

} // namespace

void Generate(const GeneratorOptions& options) {
    const fs::path folder = fs::path(options.output).parent_path();
    if (!folder.empty() && !fs::is_directory(folder))
        throw std::runtime_error("the folder " + folder.string() + " does not exist");
    WorkFile work(options.output);
    WriteClip(options, work.Path());
    if (!options.damage.empty()) DamageFile(work.Path(), options.damage, options.seed);
    work.MoveTo(options.output);
}

} // namespace kestrova::mediagen
