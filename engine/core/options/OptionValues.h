#pragma once
// Parsing of option values into the kinds the option vocabulary uses. Every failure raises
// FFmpegException with a message that names the option and the value.
#include <cstdint>
#include <string>

namespace kestrova {

// False only for exactly "0"; anything else (the empty value included) is true.
bool ParseBooleanOption(const std::string& value);

// A decimal integer (surrounding blanks allowed) within the 32-bit range.
int ParseIntegerOption(const std::string& name, const std::string& value);
// The same within the 64-bit range.
int64_t ParseInt64Option(const std::string& name, const std::string& value);

// A finite decimal floating-point number.
double ParseFloatOption(const std::string& name, const std::string& value);
// The same from `low` to `high`.
double ParseBoundedFloatOption(const std::string& name, const std::string& value, double low, double high);

// A duration ("[-][HH:]MM:SS[.m...]" or "[-]S+[.m...]") in microseconds, at most kMaxTimeValue
// either way (options/TimeLimits.h).
int64_t ParseDurationOption(const std::string& name, const std::string& value);
bool DurationInRange(int64_t microseconds);
// Microseconds as the seconds an option gives them ("-1.500000").
std::string DurationText(int64_t microseconds);
// A date ("now", "YYYY-MM-DD HH:MM:SS", ...) in microseconds since the epoch.
int64_t ParseDateOption(const std::string& name, const std::string& value);

// Strict decimal conversions without a message: false when the text is not a whole number
// in range. Blanks around the number are allowed.
bool TryParseInteger(const std::string& text, int64_t& result);
bool TryParseFloat(const std::string& text, double& result);

// The value as it may appear inside a message: long values are shortened (and quoted).
std::string ShortenedForMessage(const std::string& value);
std::string QuotedForMessage(const std::string& value);

}  // namespace kestrova
