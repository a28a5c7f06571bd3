#pragma once
// Loads the media libraries at run time and binds their entry points (LibBindings.h).
// Loading and unloading happen on the main thread before any task runs; the bound pointers
// are then read by every thread without locking.
#include "engine/frame/LibraryTable.h"
#include "engine/frame/Rational.h"

#include <array>
#include <mutex>
#include <string>

namespace kestrova {

class TFFmpegLoader {
public:
    static TFFmpegLoader& Instance();  // the one process-wide loader

    TFFmpegLoader(const TFFmpegLoader&) = delete;
    TFFmpegLoader& operator=(const TFFmpegLoader&) = delete;

    // The folder tried first for each library ("LibAV" beside the program); empty: system only.
    void SetLibraryFolder(const std::string& folder);
    const std::string& LibraryFolder() const;
    // Text of the last load failure.
    const std::string& LastError() const;
    std::string FileName(TLibraryId id) const;

    bool Load(TLibraryId id);
    // Loads the members dependencies first; at the first failure unloads the whole set.
    bool LoadSet(TLibrarySet set);
    bool IsLoaded(TLibraryId id) const;
    bool AllLoaded(TLibrarySet set) const;
    void Unload(TLibraryId id);
    void UnloadSet(TLibrarySet set);
    // The path handed to the dynamic loader for a loaded library (folder + name, or the plain
    // name for the system search); empty when not loaded.
    const std::string& ModulePath(TLibraryId id) const;

    // Install the engine logger's hook into avutil whenever avutil loads.
    bool InstallLogHook = true;

private:
    TFFmpegLoader() = default;

    struct TLibraryState {
        void* Handle = nullptr;
        bool Bound = false;
        std::string Path;
    };

    bool OpenModule(TLibraryId id);
    bool Bind(TLibraryId id);
    void AfterLoad(TLibraryId id);

    std::array<TLibraryState, LibraryCount> FLibraries{};
    std::string FLibraryFolder;
    std::string FLastError;
};

// Held around every codec open and close and every stream-information search: those library
// calls must not run concurrently. The same thread may take it again. A worker holding it may
// wait for the main thread (a codec that logs while it opens, with log lines delivered there),
// so the main thread runs the queued calls while it waits for the lock.
class TCodecLock {
public:
    void lock();
    bool try_lock() { return FMutex.try_lock(); }
    void unlock() { FMutex.unlock(); }

private:
    std::recursive_mutex FMutex;
};

TCodecLock& CodecLock();

// SetLibraryFolder + LoadSet(RequiredLibraries()). With no folder the system's libraries load.
bool LoadMediaLibraries(const std::string& folder = {});

}  // namespace kestrova
