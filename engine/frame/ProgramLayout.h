#pragma once
// Where the program reads its data and keeps the user's files. A build or portable folder holds
// everything beside the executable (profiles/, skin/, vhook/) and, while it is writable, keeps
// the user's files there too. An installed program reads its data from its install prefix
// (share/kestrova, lib/kestrova) and keeps each user's files in the user's XDG folders. The one
// place that decides this: the windows, the command line and the engine all ask here.
#include <string>

namespace kestrova {

// The user's base folders as the environment names them; empty when unset.
struct TUserBaseFolders {
    std::string ConfigHome;  // $XDG_CONFIG_HOME
    std::string DataHome;    // $XDG_DATA_HOME
    std::string Home;        // $HOME, else the home folder of the account
};

// Every folder with a trailing separator.
struct TProgramLayout {
    bool Portable = false;       // data and the user's files beside the program
    std::string DataFolder;      // read only: skin/ and the built-in profiles/
    std::string ModuleFolder;    // read only: vhook/ and, when present, LibAV/
    std::string ConfigFolder;    // Setting.ini
    std::string UserDataFolder;  // profiles/ (recent, last position, user profiles), the engine's own files
};

TUserBaseFolders UserBaseFoldersFromEnvironment();

// The layout of a program in `programFolder`: portable when its data lies beside it and the
// folder can be written; otherwise the config and data folders are the XDG ones ("kestrova/"
// below $XDG_CONFIG_HOME and $XDG_DATA_HOME, or below ~/.config and ~/.local/share when those
// are unset or not absolute), and the data is read beside the program when it lies there, else
// from the install prefix.
TProgramLayout LayoutFor(const std::string& programFolder, const TUserBaseFolders& user);

// The running program's layout, found once.
const TProgramLayout& ProgramLayout();

// Where the running program keeps the user's files (the program folder when portable).
std::string UserDataFolder();

// "<module folder>LibAV" when the program brings its own media libraries, else empty (the
// system's libraries).
std::string MediaLibraryFolder();

// Creates the folder with its parents when missing; false when it still does not exist.
bool EnsureFolder(const std::string& folder);

}  // namespace kestrova
