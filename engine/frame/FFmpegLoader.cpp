#include "engine/frame/FFmpegLoader.h"

#include "engine/frame/DynamicLoaderError.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/MainThread.h"
#include "engine/frame/UnicodeProtocol.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>

namespace kestrova {

namespace {

std::string WithTrailingSeparator(const std::string& folder) {
    if (folder.empty() || folder.back() == '/') return folder;
    return folder + '/';
}

bool IsExistingFile(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

}  // namespace

TFFmpegLoader& TFFmpegLoader::Instance() {
    static TFFmpegLoader loader;
    return loader;
}

void TFFmpegLoader::SetLibraryFolder(const std::string& folder) {
    FLibraryFolder = folder;
}
const std::string& TFFmpegLoader::LibraryFolder() const {
    return FLibraryFolder;
}
const std::string& TFFmpegLoader::LastError() const {
    return FLastError;
}
std::string TFFmpegLoader::FileName(TLibraryId id) const {
    return LibraryFileName(id);
}

const std::string& TFFmpegLoader::ModulePath(TLibraryId id) const {
    return FLibraries.at(static_cast<std::size_t>(id)).Path;
}

bool TFFmpegLoader::OpenModule(TLibraryId id) {
    TLibraryState& lib = FLibraries[id];
    const std::string name = FileName(id);
    // The C runtime is already in the process: it never comes from the library folder.
    const std::string folder = id == libMyUtil ? std::string() : WithTrailingSeparator(FLibraryFolder);
    // A full path from the folder, in dependency order, makes each module's own dependencies
    // resolve (by soname) to the copies already loaded from that folder. Anything else goes
    // through the system's search order.
    const std::string path = !folder.empty() && IsExistingFile(folder + name) ? folder + name : name;

    dlerror();
    // Modules stay mapped once loaded: unloading only releases our handle and empties the
    // pointers, so no callback, thread or object created by a library can outlive its code.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        FLastError = "Load library " + path + " error: " + DynamicLoaderErrorText();
        return false;
    }
    lib.Handle = handle;
    lib.Path = path;
    return true;
}

bool TFFmpegLoader::Bind(TLibraryId id) {
    TLibraryState& lib = FLibraries[id];
    const TLibraryEntry& entry = LibraryEntry(id);
    if (!entry.Bind) {
        FLastError = "Load library " + lib.Path + " error: the engine binds nothing from it";
        return false;
    }
    try {
        entry.Bind(lib.Handle, FileName(id));
        lib.Bound = true;
    } catch (const std::exception& error) {
        FLastError = error.what();
    }
    return lib.Bound;
}

void TFFmpegLoader::AfterLoad(TLibraryId id) {
    // Both steps run on every successful load, also of a library already loaded; each
    // tolerates repetition.
    if (id == libAVUtil && InstallLogHook) TFFLogger::Instance().InstallHook();
    if (id == libAVFormat) RegisterUnicodeProtocol();
}

bool TFFmpegLoader::Load(TLibraryId id) {
    TLibraryState& lib = FLibraries.at(static_cast<std::size_t>(id));
    if (!lib.Handle && !OpenModule(id)) return false;
    if (!lib.Bound && !Bind(id)) {
        Unload(id);
        return false;
    }
    AfterLoad(id);
    return true;
}

bool TFFmpegLoader::LoadSet(TLibrarySet set) {
    if (set.none()) throw std::logic_error("LoadSet called with an empty library set");
    for (TLibraryId id : LibraryLoadOrder()) {
        if (!set.test(id) || Load(id)) continue;
        const std::string error = FLastError;
        UnloadSet(set);
        FLastError = error;
        return false;
    }
    return true;
}

bool TFFmpegLoader::IsLoaded(TLibraryId id) const {
    const TLibraryState& lib = FLibraries.at(static_cast<std::size_t>(id));
    return lib.Handle && lib.Bound;
}

bool TFFmpegLoader::AllLoaded(TLibrarySet set) const {
    if (set.none()) throw std::logic_error("AllLoaded called with an empty library set");
    for (int id = 0; id < LibraryCount; ++id)
        if (set.test(id) && !IsLoaded(static_cast<TLibraryId>(id))) return false;
    return true;
}

void TFFmpegLoader::Unload(TLibraryId id) {
    TLibraryState& lib = FLibraries.at(static_cast<std::size_t>(id));
    if (lib.Bound) {
        LibraryEntry(id).Unbind();
        lib.Bound = false;
    }
    if (lib.Handle) {
        dlclose(lib.Handle);
        lib.Handle = nullptr;
    }
    lib.Path.clear();
}

void TFFmpegLoader::UnloadSet(TLibrarySet set) {
    // Dependents first.
    const auto& order = LibraryLoadOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (set.test(*it)) Unload(*it);
}

void TCodecLock::lock() {
    MainThread::LockServingMainThread(FMutex);
}

TCodecLock& CodecLock() {
    static TCodecLock lock;
    return lock;
}

bool LoadMediaLibraries(const std::string& folder) {
    TFFmpegLoader& loader = TFFmpegLoader::Instance();
    loader.SetLibraryFolder(folder);
    return loader.LoadSet(RequiredLibraries());
}

}  // namespace kestrova
