#include "tools/cli/OutputReplacement.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace kestrova::cli {

namespace fs = std::filesystem;

namespace {

// "clip.kestrova-<pid>-<n>.mkv": the extension still tells the output's format.
fs::path TemporaryName(const fs::path& target) {
    for (unsigned number = 1;; ++number) {
        fs::path name =
                target.parent_path() / (target.stem().string() + ".kestrova-" + std::to_string(::getpid()) +
                                        "-" + std::to_string(number) + target.extension().string());
        std::error_code error;
        if (!fs::exists(fs::symlink_status(name, error))) return name;
    }
}

}  // namespace

TOutputReplacements::~TOutputReplacements() {
    for (const TReplacement& replacement : FReplacements) {
        std::error_code error;
        fs::remove(replacement.Temporary, error);
    }
}

std::string TOutputReplacements::WriteName(int task, const std::string& fileName) {
    std::error_code error;
    if (!fs::is_regular_file(fileName, error)) return fileName;
    const fs::path target = fs::canonical(fileName, error);
    if (error) return fileName;
    const std::string temporary = TemporaryName(target).string();
    std::lock_guard guard(FLock);
    FReplacements.push_back({task, temporary, target.string()});
    return temporary;
}

std::string TOutputReplacements::End(int task, bool finished) {
    std::lock_guard guard(FLock);
    std::string failure;
    std::erase_if(FReplacements, [&](const TReplacement& replacement) {
        if (replacement.Task != task) return false;
        std::error_code error;
        if (finished) fs::rename(replacement.Temporary, replacement.Target, error);
        if (error) failure = "Could not replace '" + replacement.Target + "': " + error.message();
        if (!finished || error) fs::remove(replacement.Temporary, error);
        return true;
    });
    return failure;
}

}  // namespace kestrova::cli
