#pragma once
// Video hook modules: shared objects exporting "Configure", "Process" and "Release", run on
// each decoded picture of a job (its "vhook" option). Modules are loaded once per path for the
// life of the process; each added hook has its own private context.
#include "engine/frame/LibHeaders.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrova {

// The picture handed to a module: four plane pointers and four line sizes, laid out as the
// picture record of the hook interface.
struct TFrameHookPicture {
    uint8_t* data[4];
    int linesize[4];
};

extern "C" {
// Configure(&context, argc, argv): argv[0] is the module path, argv[argc] is null; non-zero fails.
using TFrameHookConfigure = int (*)(void** context, int argc, char* argv[]);
using TFrameHookProcess = void (*)(void* context, TFrameHookPicture* picture, AVPixelFormat pixFmt, int width,
                                   int height, int64_t pts);
using TFrameHookRelease = void (*)(void* context);
}

// Results of TFrameHookList::Add.
enum TFrameHookResult : int {
    fhOk = 0,
    fhModuleNotLoaded = -1,  // the module could not be loaded (reason logged)
    fhNoArguments = -2,      // also: a required entry point is missing (logged)
    fhNoMemory = -12,
    fhConfigureFailed = -22,  // "Configure" refused the arguments (logged)
};

class TFrameHookList {
public:
    TFrameHookList() = default;
    ~TFrameHookList();
    TFrameHookList(const TFrameHookList&) = delete;
    TFrameHookList& operator=(const TFrameHookList&) = delete;

    // args[0] is the module path, the rest are the hook's own arguments. Messages go to the
    // library log at error level.
    int Add(const std::vector<std::string>& args);
    // Runs every hook, in the order they were added, on the picture.
    void Process(TFrameHookPicture& picture, AVPixelFormat pixFmt, int width, int height, int64_t pts) const;
    // Calls each hook's "Release" and empties the list.
    void Release();

    bool Empty() const { return FEntries.empty(); }
    std::size_t Count() const { return FEntries.size(); }

private:
    struct TEntry {
        TFrameHookConfigure Configure = nullptr;
        TFrameHookProcess Process = nullptr;
        TFrameHookRelease Release = nullptr;
        void* Context = nullptr;
        // The hook may keep pointers into its arguments: they live as long as the hook.
        std::vector<std::string> Arguments;
        std::vector<char*> Argv;
    };
    // Entries stay put in memory: a module may keep the address of its context slot.
    std::vector<std::unique_ptr<TEntry>> FEntries;
};

}  // namespace kestrova
