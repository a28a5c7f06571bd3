#include "data/vhook/common/HookOptions.h"

#include <algorithm>
#include <charconv>

namespace kestrova::vhook {

namespace {

bool Contains(std::span<const std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::optional<THookOptions> THookOptions::Parse(std::span<const std::string_view> arguments,
                                                std::span<const std::string_view> names,
                                                std::span<const std::string_view> textNames) {
    THookOptions options;
    for (size_t at = 0; at < arguments.size();) {
        const std::string_view name = arguments[at];
        if (!Contains(names, name) || at + 1 >= arguments.size()) return std::nullopt;
        std::string value(arguments[at + 1]);
        at += 2;
        if (Contains(textNames, name))
            for (; at < arguments.size() && !Contains(names, arguments[at]); ++at)
                value.append(" ").append(arguments[at]);
        auto known = std::find_if(options.FValues.begin(), options.FValues.end(),
                                  [name](const auto& entry) { return entry.first == name; });
        if (known != options.FValues.end())
            known->second = std::move(value);
        else
            options.FValues.emplace_back(std::string(name), std::move(value));
    }
    return options;
}

bool THookOptions::Has(std::string_view name) const {
    return std::any_of(FValues.begin(), FValues.end(),
                       [name](const auto& entry) { return entry.first == name; });
}

std::string_view THookOptions::Value(std::string_view name, std::string_view fallback) const {
    for (const auto& [key, value] : FValues)
        if (key == name) return value;
    return fallback;
}

std::optional<int> ParseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> ParseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<TRgb> ParseHexColour(std::string_view text) {
    if (text.starts_with('#'))
        text.remove_prefix(1);
    else if (text.starts_with("0x") || text.starts_with("0X"))
        text.remove_prefix(2);
    if (text.size() != 6) return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return TRgb{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                static_cast<uint8_t>(value)};
}

}  // namespace kestrova::vhook
