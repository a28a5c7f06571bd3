#include "tools/cli/LibraryFolder.h"

#include <filesystem>
#include <system_error>

namespace kestrova::cli {

std::string MediaLibraryFolder(const std::string& programFolder) {
    if (programFolder.empty()) return {};
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(programFolder) / "LibAV";
    return std::filesystem::is_directory(folder, error) ? folder.string() : std::string();
}

}  // namespace kestrova::cli
