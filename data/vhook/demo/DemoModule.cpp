// Entry points of VantelHook.so, the demonstration hook.
#include "data/vhook/common/HookEntryPoints.h"
#include "data/vhook/demo/DemoHook.h"

using kestrova::vhook::TDemoHook;
using kestrova::vhook::THookPicture;

KESTROVA_HOOK_EXPORT int Configure(void** context, int argc, char* argv[]) {
    return kestrova::vhook::ConfigureHook<TDemoHook>(context, argc, argv);
}

KESTROVA_HOOK_EXPORT void Process(void* context, THookPicture* picture, AVPixelFormat pixFmt, int width,
                                  int height, int64_t pts) {
    kestrova::vhook::ProcessHook<TDemoHook>(context, picture, pixFmt, width, height, pts);
}

KESTROVA_HOOK_EXPORT void Release(void* context) {
    kestrova::vhook::ReleaseHook<TDemoHook>(context);
}
