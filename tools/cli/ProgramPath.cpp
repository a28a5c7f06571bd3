#include "ProgramPath.h"

#include <filesystem>
#include <sstream>
#include <system_error>

namespace kestrova::cli {

namespace fs = std::filesystem;

std::string ProgramFolderOf(const std::string& invocationName, const char* searchPath) {
    std::error_code error;
    if (invocationName.find('/') != std::string::npos) {
        const fs::path program = fs::weakly_canonical(fs::absolute(invocationName, error), error);
        return error ? std::string() : program.parent_path().string();
    }
    std::istringstream folders(searchPath ? searchPath : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        // An empty entry of PATH stands for the current folder.
        const fs::path base = folder.empty() ? fs::current_path(error) : fs::path(folder);
        const fs::path candidate = base / invocationName;
        if (fs::is_regular_file(candidate, error))
            return fs::weakly_canonical(fs::absolute(candidate, error), error).parent_path().string();
    }
    return {};
}

std::string MediaLibraryFolder(const std::string& programFolder) {
    if (programFolder.empty()) return {};
    std::error_code error;
    const fs::path folder = fs::path(programFolder) / "LibAV";
    return fs::is_directory(folder, error) ? folder.string() : std::string();
}

} // namespace kestrova::cli
