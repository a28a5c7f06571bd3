#include "data/vhook/common/ModuleFiles.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace kestrova::vhook {

namespace {

// The folder of the shared object this code was linked into.
std::filesystem::path ModuleFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&ModuleFolder), &info) == 0 || !info.dli_fname) return {};
    return std::filesystem::path(info.dli_fname).parent_path();
}

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string ResolveModuleFile(std::string_view path) {
    const std::filesystem::path given(path);
    if (IsFile(given) || given.is_absolute()) return std::string(path);
    const std::filesystem::path folder = ModuleFolder();
    if (!folder.empty() && IsFile(folder / given)) return (folder / given).string();
    return std::string(path);
}

}  // namespace kestrova::vhook
