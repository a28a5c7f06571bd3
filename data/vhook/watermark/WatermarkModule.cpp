// Entry points of watermark.so.
#include "data/vhook/common/HookEntryPoints.h"
#include "data/vhook/watermark/WatermarkHook.h"

using kestrova::vhook::THookPicture;
using kestrova::vhook::TWatermarkHook;

KESTROVA_HOOK_EXPORT int Configure(void** context, int argc, char* argv[]) {
    return kestrova::vhook::ConfigureHook<TWatermarkHook>(context, argc, argv);
}

KESTROVA_HOOK_EXPORT void Process(void* context, THookPicture* picture, AVPixelFormat pixFmt, int width,
                                  int height, int64_t pts) {
    kestrova::vhook::ProcessHook<TWatermarkHook>(context, picture, pixFmt, width, height, pts);
}

KESTROVA_HOOK_EXPORT void Release(void* context) {
    kestrova::vhook::ReleaseHook<TWatermarkHook>(context);
}
