#pragma once
// The engine's small text helpers: printf-style text of any length, and trimming.
#include <cstdio>
#include <string>
#include <string_view>

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

// True for the characters trimming removes: the blank and every control character below it.
inline bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// `text` without the blanks and control characters at either end.
std::string Trimmed(std::string_view text);

}  // namespace kestrova
