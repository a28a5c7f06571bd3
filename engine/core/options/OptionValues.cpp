#include "engine/core/options/OptionValues.h"

#include "engine/core/FFmpegException.h"
#include "engine/frame/LibBindings.h"
#include "engine/frame/Text.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace kestrova {

namespace {

constexpr std::size_t kMessageValueLimit = 80;

[[noreturn]] void RaiseBadValue(const std::string& name, const std::string& value, const char* kind) {
    throw FFmpegException("Invalid " + std::string(kind) + " value " + QuotedForMessage(value) +
                          " for option \"" + name + "\"");
}

int64_t ParseTime(const std::string& name, const std::string& value, bool duration) {
    // The library parses only a bounded text; anything longer is not a time anyway.
    int64_t result = 0;
    if (value.size() < 256 && ff::av_parse_time(&result, value.c_str(), duration ? 1 : 0) >= 0 &&
        result != AV_NOPTS_VALUE)
        return result;
    throw FFmpegException("Invalid " + std::string(duration ? "duration" : "date") + " specification for " +
                          name + ": " + ShortenedForMessage(value));
}

}  // namespace

std::string ShortenedForMessage(const std::string& value) {
    if (value.size() <= kMessageValueLimit) return value;
    return value.substr(0, kMessageValueLimit) + "...";
}

std::string QuotedForMessage(const std::string& value) {
    std::string quoted(1, '"');
    quoted.append(ShortenedForMessage(value)).push_back('"');
    return quoted;
}

bool TryParseInteger(const std::string& text, int64_t& result) {
    const std::string number = Trimmed(text);
    const char* first = number.data();
    const char* last = number.data() + number.size();
    if (first != last && *first == '+') ++first;  // from_chars takes only a minus sign
    if (first == last) return false;
    const auto [end, error] = std::from_chars(first, last, result, 10);
    return error == std::errc() && end == last;
}

bool TryParseFloat(const std::string& text, double& result) {
    const std::string number = Trimmed(text);
    const char* first = number.data();
    const char* last = number.data() + number.size();
    if (first != last && *first == '+') ++first;
    if (first == last) return false;
    const auto [end, error] = std::from_chars(first, last, result, std::chars_format::general);
    return error == std::errc() && end == last && std::isfinite(result);
}

bool ParseBooleanOption(const std::string& value) {
    return value != "0";
}

int ParseIntegerOption(const std::string& name, const std::string& value) {
    int64_t number = 0;
    if (!TryParseInteger(value, number) || number < INT_MIN || number > INT_MAX)
        RaiseBadValue(name, value, "integer");
    return static_cast<int>(number);
}

int64_t ParseInt64Option(const std::string& name, const std::string& value) {
    int64_t number = 0;
    if (!TryParseInteger(value, number)) RaiseBadValue(name, value, "integer");
    return number;
}

double ParseFloatOption(const std::string& name, const std::string& value) {
    double number = 0;
    if (!TryParseFloat(value, number)) RaiseBadValue(name, value, "floating-point");
    return number;
}

int64_t ParseDurationOption(const std::string& name, const std::string& value) {
    return ParseTime(name, value, true);
}

int64_t ParseDateOption(const std::string& name, const std::string& value) {
    return ParseTime(name, value, false);
}

}  // namespace kestrova
