#pragma once
// The video hook modules in the program folder's "vhook/": which file each hook loads, the
// picture it draws, and whether a hook can be offered.
#include <QString>

#include <array>

namespace kestrova {

enum class THook { Imlib2Image, Imlib2Text, WaterMark, DemoImage, DemoText };

struct THookModule {
    THook Hook;
    const char* Module;   // shared object below vhook/
    const char* Picture;  // picture below vhook/ the hook draws; nullptr for the text hooks
};

// One row per hook, in the order their lines are written.
inline constexpr std::array<THookModule, 5> kHookModules{{
        {THook::Imlib2Image, "imlib2.so", "imlib2.bmp"},
        {THook::Imlib2Text, "imlib2.so", nullptr},
        {THook::WaterMark, "watermark.so", "watermark.bmp"},
        {THook::DemoImage, "VantelHook.so", "VantelHook.bmp"},
        {THook::DemoText, "VantelHook.so", nullptr},
}};

const THookModule& HookModule(THook hook);

// programFolder + "vhook/", with the separator added when the folder lacks it.
QString HookFolder(const QString& programFolder);

// A hook can be offered when its module is in the hook folder. The modules' own libraries
// (FreeType, fontconfig) are found by the system's loader, so only the module file counts.
bool IsHookModulePresent(THook hook, const QString& programFolder);

}  // namespace kestrova
