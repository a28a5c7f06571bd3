#pragma once
// The three entry points of a module, written once for every hook class. A hook class has a
// default constructor, `int Configure(std::span<const std::string_view>)` returning 0 or a
// THookFailure, and `void Process(THookPicture&, AVPixelFormat, int width, int height,
// int64_t pts)`. Each Configure makes a context of its own, so two hooks of one module never
// share state; nothing thrown inside a module reaches the engine.
#include "data/vhook/common/HookInterface.h"

#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <vector>

namespace kestrova::vhook {

template <class THook>
int ConfigureHook(void** context, int argc, char* argv[]) noexcept {
    if (!context || argc < 1 || !argv) return hfBadArguments;
    try {
        std::vector<std::string_view> arguments;
        for (int i = 1; i < argc; ++i) {
            if (!argv[i]) return hfBadArguments;
            arguments.emplace_back(argv[i]);
        }
        auto hook = std::make_unique<THook>();
        const int failure = hook->Configure(arguments);
        if (failure != 0) return failure;
        *context = hook.release();
        return 0;
    } catch (const std::bad_alloc&) {
        return hfOutOfMemory;
    } catch (...) {
        return hfBadArguments;
    }
}

template <class THook>
void ProcessHook(void* context, THookPicture* picture, AVPixelFormat pixFmt, int width, int height,
                 int64_t pts) noexcept {
    if (!context || !picture || width <= 0 || height <= 0) return;
    try {
        static_cast<THook*>(context)->Process(*picture, pixFmt, width, height, pts);
    } catch (...) {
        // A picture that could not be drawn on goes on unchanged.
    }
}

template <class THook>
void ReleaseHook(void* context) noexcept {
    std::unique_ptr<THook> owned(static_cast<THook*>(context));
}

}  // namespace kestrova::vhook
