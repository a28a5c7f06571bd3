#include "engine/core/options/Presets.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/BuiltInPresets.h"
#include "engine/frame/Text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace kestrova {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "\r\n" and a lone "\r" become "\n".
std::string NormaliseLineBreaks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            result += text[i];
            continue;
        }
        result += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return result;
}

std::optional<std::string> ReadPresetFile(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(fileName), error)) return std::nullopt;
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

char KindOf(const std::string& option) {
    return option[0];
}  // 'a', 'v' or 's'

// Finds the built-in preset for `name`, trying "<codec>-<name>" second; `lookedUp` ends as the
// name tried last.
const TBuiltInPreset* FindForKind(const std::string& name, char kind, const TPresetTarget& job,
                                  std::string& lookedUp) {
    lookedUp = name;
    if (const TBuiltInPreset* preset = FindBuiltInPreset(name)) return preset;
    const std::string codec = job.CodecName(kind);
    if (codec.empty()) return nullptr;
    lookedUp = codec + "-" + name;
    return FindBuiltInPreset(lookedUp);
}

void ApplyLine(const std::string& presetName, const std::string& line, TPresetTarget& job) {
    const std::size_t equals = line.find('=');
    const std::string key = equals == std::string::npos ? std::string() : Trimmed(line.substr(0, equals));
    const std::string value = equals == std::string::npos ? std::string() : Trimmed(line.substr(equals + 1));
    if (key.empty() || value.empty())
        throw FFmpegException(presetName + ": Invalid syntax: \"" + line + "\"");
    const std::string lowerKey = Lower(key);
    if (lowerKey == "acodec" || lowerKey == "vcodec" || lowerKey == "scodec") {
        job.SetCodecName(lowerKey[0], value);
        return;
    }
    if (!job.SetAVOption(key, value))
        throw FFmpegException(presetName + ": Invalid option or argument: \"" + line + "\", parsed as \"" +
                              key + "\" = \"" + value + "\"");
}

}  // namespace

bool IsPresetOption(const std::string& option) {
    return option == "apre" || option == "vpre" || option == "spre" || option == "fpre";
}

void ApplyPresetText(const std::string& presetName, const std::string& text, TPresetTarget& job) {
    std::istringstream lines(NormaliseLineBreaks(Trimmed(text)));
    std::string line;
    while (std::getline(lines, line)) {
        line = Trimmed(line);
        if (!line.empty()) ApplyLine(presetName, line, job);
    }
}

void ApplyPresetOption(const std::string& option, const std::string& value, TPresetTarget& job) {
    if (!IsPresetOption(option)) throw FFmpegException("Unknown preset option: " + option);
    if (option == "fpre") {
        const std::optional<std::string> text = ReadPresetFile(value);
        if (!text) throw FFmpegException("Preset \"" + value + "\" not found");
        ApplyPresetText(value, *text, job);
        return;
    }
    std::string lookedUp;
    const TBuiltInPreset* preset = FindForKind(value, KindOf(option), job, lookedUp);
    if (!preset) throw FFmpegException("Preset \"" + lookedUp + "\" not found");
    ApplyPresetText(std::string(preset->Name), std::string(preset->Text), job);
}

}  // namespace kestrova
