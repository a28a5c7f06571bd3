#include "engine/frame/ProgramLayout.h"

#include "engine/frame/ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

// The install layout, relative to the folder of the installed executables (set by the build
// from the install rules).
#ifndef KESTROVA_DATA_FROM_PROGRAM
#define KESTROVA_DATA_FROM_PROGRAM "../share/kestrova/"
#endif
#ifndef KESTROVA_MODULES_FROM_PROGRAM
#define KESTROVA_MODULES_FROM_PROGRAM "../lib/kestrova/"
#endif

namespace kestrova {

namespace {

namespace fs = std::filesystem;

constexpr char kApplicationFolder[] = "kestrova/";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool IsWritableFolder(const std::string& path) {
    return IsFolder(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

// An XDG base folder: the variable's value when it is an absolute path (relative ones are
// ignored), else the usual folder below the home.
std::string BaseFolder(const std::string& value, const std::string& home, const char* belowHome) {
    if (!value.empty() && value.front() == '/') return WithSeparator(value);
    return WithSeparator(home) + belowHome;
}

std::string Below(const std::string& programFolder, const char* relative) {
    return fs::path(programFolder + relative).lexically_normal().string();
}

}  // namespace

TUserBaseFolders UserBaseFoldersFromEnvironment() {
    TUserBaseFolders user{Environment("XDG_CONFIG_HOME"), Environment("XDG_DATA_HOME"), Environment("HOME")};
    if (user.Home.empty()) {
        if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir)
            user.Home = account->pw_dir;
    }
    return user;
}

TProgramLayout LayoutFor(const std::string& programFolder, const TUserBaseFolders& user) {
    const std::string program = WithSeparator(programFolder);
    const bool dataBeside = IsFolder(program + "profiles");
    TProgramLayout layout;
    layout.Portable = dataBeside && IsWritableFolder(program) && IsWritableFolder(program + "profiles");
    layout.DataFolder = dataBeside ? program : Below(program, KESTROVA_DATA_FROM_PROGRAM);
    layout.ModuleFolder = dataBeside ? program : Below(program, KESTROVA_MODULES_FROM_PROGRAM);
    if (layout.Portable || user.Home.empty()) {
        layout.ConfigFolder = layout.UserDataFolder = program;
        return layout;
    }
    layout.ConfigFolder = BaseFolder(user.ConfigHome, user.Home, ".config/") + kApplicationFolder;
    layout.UserDataFolder = BaseFolder(user.DataHome, user.Home, ".local/share/") + kApplicationFolder;
    return layout;
}

const TProgramLayout& ProgramLayout() {
    static const TProgramLayout layout = LayoutFor(ProgramFolder(), UserBaseFoldersFromEnvironment());
    return layout;
}

std::string UserDataFolder() {
    return ProgramLayout().UserDataFolder;
}

std::string MediaLibraryFolder() {
    const std::string folder = ProgramLayout().ModuleFolder + "LibAV";
    return IsFolder(folder) ? folder : std::string();
}

bool EnsureFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return IsFolder(folder);
}

}  // namespace kestrova
