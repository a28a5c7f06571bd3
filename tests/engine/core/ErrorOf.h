#pragma once
// The message of the exception an engine call raises, for tests that compare messages.
#include "engine/core/FFmpegException.h"

#include <functional>
#include <string>

namespace kestrova::testing {

// The message of the FFmpegException that `action` raises, or "<no exception>".
inline std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FFmpegException& error) {
        return error.what();
    }
    return "<no exception>";
}

}  // namespace kestrova::testing
