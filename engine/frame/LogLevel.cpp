#include "engine/frame/LogLevel.h"

#include <strings.h>
#include <array>
#include <charconv>
#include <stdexcept>

namespace kestrova {

int LogLevelToLibrary(TLogLevel level) {
    return (static_cast<int>(level) - 1) * 8;
}

TLogLevel LogLevelFromLibrary(int level) {
    const int ordinal = level / 8 + 1;
    if (ordinal < 0) return llQuiet;
    if (ordinal >= static_cast<int>(llDebug)) return llDebug;
    return static_cast<TLogLevel>(ordinal);
}

int LibraryLogLevelFromText(const std::string& text) {
    static constexpr std::array<const char*, 8> names{"quiet",   "panic", "fatal",   "error",
                                                      "warning", "info",  "verbose", "debug"};
    for (std::size_t i = 0; i < names.size(); ++i)
        if (::strcasecmp(text.c_str(), names[i]) == 0) return LogLevelToLibrary(static_cast<TLogLevel>(i));

    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    int value = 0;
    if (first != std::string::npos) {
        const char* begin = text.data() + first;
        const char* end = text.data() + last + 1;
        if (*begin == '+' && end - begin > 1 && begin[1] != '-') ++begin;
        const auto [stop, error] = std::from_chars(begin, end, value);
        if (error == std::errc() && stop == end && begin != end) return value;
    }
    throw std::invalid_argument("'" + text + "' is not a valid integer value");
}

}  // namespace kestrova
