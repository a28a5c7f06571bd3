#pragma once
// Forming the run's messages: printf-style text of any length.
#include <cstdio>
#include <string>

namespace kestrova {

template <class... TArguments>
std::string FormatText(const char* format, TArguments... arguments) {
    const int length = std::snprintf(nullptr, 0, format, arguments...);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, arguments...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

} // namespace kestrova
