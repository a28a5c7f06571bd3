#include "engine/frame/DynamicLoaderError.h"

#include <dlfcn.h>

namespace kestrova {

std::string DynamicLoaderErrorText() {
    const char* raw = dlerror();
    if (!raw) return {};
    std::string text(raw);
    // "/path/libx.so.6: undefined symbol: name" -> "undefined symbol: name"
    const auto colon = text.find(": ");
    if (colon != std::string::npos && colon > 0 && text.find(' ') > colon) text.erase(0, colon + 2);
    return text;
}

}  // namespace kestrova
