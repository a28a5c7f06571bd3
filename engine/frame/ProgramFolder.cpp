#include "engine/frame/ProgramFolder.h"

#include <mutex>

namespace kestrova {

namespace {

std::mutex& FolderLock() {
    static std::mutex lock;
    return lock;
}

std::string& Folder() {
    static std::string folder = "./";
    return folder;
}

}  // namespace

void SetEngineProgramFolder(const std::string& folder) {
    std::lock_guard guard(FolderLock());
    Folder() = folder.empty() ? "./" : folder;
    if (Folder().back() != '/') Folder() += '/';
}

std::string EngineProgramFolder() {
    std::lock_guard guard(FolderLock());
    return Folder();
}

}  // namespace kestrova
