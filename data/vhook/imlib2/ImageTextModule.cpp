// Entry points of imlib2.so, the image-and-text hook.
#include "data/vhook/common/HookEntryPoints.h"
#include "data/vhook/imlib2/ImageTextHook.h"

using kestrova::vhook::THookPicture;
using kestrova::vhook::TImageTextHook;

KESTROVA_HOOK_EXPORT int Configure(void** context, int argc, char* argv[]) {
    return kestrova::vhook::ConfigureHook<TImageTextHook>(context, argc, argv);
}

KESTROVA_HOOK_EXPORT void Process(void* context, THookPicture* picture, AVPixelFormat pixFmt, int width,
                                  int height, int64_t pts) {
    kestrova::vhook::ProcessHook<TImageTextHook>(context, picture, pixFmt, width, height, pts);
}

KESTROVA_HOOK_EXPORT void Release(void* context) {
    kestrova::vhook::ReleaseHook<TImageTextHook>(context);
}
