#pragma once
// The option words of a hook line: "-name value" pairs after the module path.
#include "data/vhook/common/Colour.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova::vhook {

class THookOptions {
public:
    // Reads the pairs; every name must be one of `names`. The value of a text option also takes
    // the words after it up to the next known option, joined by single blanks: a line split at
    // blanks cuts a typed text apart, and this puts it back together. Nothing when a name is
    // unknown or lacks its value. A repeated option keeps its last value.
    static std::optional<THookOptions> Parse(std::span<const std::string_view> arguments,
                                             std::span<const std::string_view> names,
                                             std::span<const std::string_view> textNames = {});

    bool Has(std::string_view name) const;
    // The value given, or `fallback` when the option is absent.
    std::string_view Value(std::string_view name, std::string_view fallback = {}) const;

private:
    std::vector<std::pair<std::string, std::string>> FValues;
};

// A whole decimal integer (optional sign), nothing when the text holds anything else.
std::optional<int> ParseInteger(std::string_view text);

// A whole decimal number.
std::optional<double> ParseNumber(std::string_view text);

// Six hexadecimal digits RRGGBB, optionally after "#" or "0x".
std::optional<TRgb> ParseHexColour(std::string_view text);

}  // namespace kestrova::vhook
