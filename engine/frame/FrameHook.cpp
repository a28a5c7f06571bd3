#include "engine/frame/FrameHook.h"

#include "engine/frame/DynamicLoaderError.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/LibBindings.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <new>

namespace kestrova {

namespace {

// Modules by path; loaded on first use and never unloaded (a hook's code may be referenced by
// contexts other jobs still hold).
struct TModuleList {
    std::mutex Lock;
    std::map<std::string, void*> Modules;
};

TModuleList& Modules() {
    static TModuleList list;
    return list;
}

// Messages go to the libraries' log at error level (so to the engine logger's callback), or to
// the engine logger directly while avutil is not bound.
void LogError(const char* format, const std::string& text) {
    if (ff::av_log) {
        ff::av_log(nullptr, AV_LOG_ERROR, format, text.c_str());
        return;
    }
    if (TFFLogger::HasInstance()) {
        char line[2048];
        std::snprintf(line, sizeof line, format, text.c_str());
        std::string message(line);
        if (!message.empty() && message.back() == '\n') message.pop_back();
        TFFLogger::Instance().Log(nullptr, llError, message);
    }
}

// The module's handle, loading it on first use; null (and the reason logged) on failure.
void* ModuleFor(const std::string& path) {
    TModuleList& list = Modules();
    std::lock_guard lock(list.Lock);
    if (auto known = list.Modules.find(path); known != list.Modules.end()) return known->second;
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* raw = dlerror();
        LogError("%s\n", raw ? raw : ("cannot load " + path));
        return nullptr;
    }
    list.Modules.emplace(path, handle);
    return handle;
}

template <class Fn>
Fn Symbol(void* module, const char* name) {
    return reinterpret_cast<Fn>(dlsym(module, name));
}

}  // namespace

TFrameHookList::~TFrameHookList() {
    Release();
}

int TFrameHookList::Add(const std::vector<std::string>& args) {
    if (args.empty()) return fhNoArguments;
    const std::string& path = args.front();
    void* module = ModuleFor(path);
    if (!module) return fhModuleNotLoaded;

    std::unique_ptr<TEntry> entry;
    try {
        entry = std::make_unique<TEntry>();
        entry->Arguments = args;
        for (std::string& argument : entry->Arguments) entry->Argv.push_back(argument.data());
        entry->Argv.push_back(nullptr);
    } catch (const std::bad_alloc&) {
        return fhNoMemory;
    }

    entry->Configure = Symbol<TFrameHookConfigure>(module, "Configure");
    entry->Process = Symbol<TFrameHookProcess>(module, "Process");
    entry->Release = Symbol<TFrameHookRelease>(module, "Release");
    if (!entry->Process) {
        LogError("Failed to find Process entrypoint in %s\n", path);
        return fhNoArguments;
    }
    if (!entry->Configure && args.size() > 1) {
        LogError("Failed to find Configure entrypoint in %s\n", path);
        return fhNoArguments;
    }
    if (entry->Configure) {
        const int argc = static_cast<int>(args.size());
        if (entry->Configure(&entry->Context, argc, entry->Argv.data()) != 0) {
            LogError("Failed to Configure %s\n", path);
            // Whatever the module allocated before refusing is its to free.
            if (entry->Context && entry->Release) entry->Release(entry->Context);
            return fhConfigureFailed;
        }
    }
    try {
        FEntries.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        if (entry && entry->Release) entry->Release(entry->Context);
        return fhNoMemory;
    }
    return fhOk;
}

void TFrameHookList::Process(TFrameHookPicture& picture, AVPixelFormat pixFmt, int width, int height,
                             int64_t pts) const {
    for (const auto& entry : FEntries) entry->Process(entry->Context, &picture, pixFmt, width, height, pts);
}

void TFrameHookList::Release() {
    for (const auto& entry : FEntries)
        if (entry->Release) entry->Release(entry->Context);
    FEntries.clear();
}

}  // namespace kestrova
