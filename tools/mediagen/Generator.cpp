#include "tools/mediagen/Generator.h"

#include "tools/mediagen/ClipWriter.h"
#include "tools/mediagen/Damage.h"

#include <unistd.h>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace kestrova::mediagen {

namespace {

namespace fs = std::filesystem;

// The work file beside the output: same folder (so the final rename is atomic), a name no
// other process uses at the same time.
class TWorkFile {
public:
    explicit TWorkFile(const std::string& output) : FPath(output + ".part-" + std::to_string(::getpid())) {}
    TWorkFile(const TWorkFile&) = delete;
    TWorkFile& operator=(const TWorkFile&) = delete;
    ~TWorkFile() {
        std::error_code ignored;
        if (!FCommitted) fs::remove(FPath, ignored);
    }
    const std::string& Path() const { return FPath; }
    void MoveTo(const std::string& output) {
        std::error_code error;
        fs::rename(FPath, output, error);
        if (error) throw std::runtime_error("could not move the clip to " + output + ": " + error.message());
        FCommitted = true;
    }

private:
    std::string FPath;
    bool FCommitted = false;
};

}  // namespace

void Generate(const TGeneratorOptions& options) {
    const fs::path folder = fs::path(options.Output).parent_path();
    if (!folder.empty() && !fs::is_directory(folder))
        throw std::runtime_error("the folder " + folder.string() + " does not exist");
    TWorkFile work(options.Output);
    WriteClip(options, work.Path());
    if (!options.Damage.empty()) DamageFile(work.Path(), options.Damage, options.Seed);
    work.MoveTo(options.Output);
}

}  // namespace kestrova::mediagen
