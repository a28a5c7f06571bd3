#include "engine/core/options/OptionValues.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/TimeLimits.h"
#include "engine/frame/LibBindings.h"
#include "engine/frame/Text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>

namespace kestrova {

namespace {

constexpr std::size_t kMessageValueLimit = 80;

[[noreturn]] void RaiseBadValue(const std::string& name, const std::string& value, const char* kind) {
    throw FFmpegException("Invalid " + std::string(kind) + " value " + QuotedForMessage(value) +
                          " for option \"" + name + "\"");
}

[[noreturn]] void RaiseBadTime(const std::string& name, const std::string& value, bool duration) {
    throw FFmpegException("Invalid " + std::string(duration ? "duration" : "date") + " specification for " +
                          name + ": " + ShortenedForMessage(value));
}

int64_t ParseTime(const std::string& name, const std::string& value, bool duration) {
    // The library parses only a bounded text; anything longer is not a time anyway.
    int64_t result = 0;
    if (value.size() >= 256 || ff::av_parse_time(&result, value.c_str(), duration ? 1 : 0) < 0 ||
        result == AV_NOPTS_VALUE)
        RaiseBadTime(name, value, duration);
    if (duration && !DurationInRange(result)) RaiseBadTime(name, value, duration);
    return result;
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

double ParseBoundedFloatOption(const std::string& name, const std::string& value, double low, double high) {
    const double number = ParseFloatOption(name, value);
    if (number < low || number > high) RaiseBadValue(name, value, "floating-point");
    return number;
}

bool DurationInRange(int64_t microseconds) {
    return microseconds >= -kMaxTimeValue && microseconds <= kMaxTimeValue;
}

std::string DurationText(int64_t microseconds) {
    const char* sign = microseconds < 0 ? "-" : "";
    // The magnitude as unsigned: the most negative value has no positive counterpart.
    const uint64_t magnitude =
            microseconds < 0 ? 0 - static_cast<uint64_t>(microseconds) : static_cast<uint64_t>(microseconds);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%06llu", static_cast<unsigned long long>(magnitude % 1000000));
    std::string text = sign;
    text += std::to_string(magnitude / 1000000);
    text += '.';
    text += fraction;
    return text;
}

int64_t ParseDurationOption(const std::string& name, const std::string& value) {
    return ParseTime(name, value, true);
}

int64_t ParseDateOption(const std::string& name, const std::string& value) {
    return ParseTime(name, value, false);
}

}  // namespace kestrova
