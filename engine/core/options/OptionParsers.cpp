#include "engine/core/options/OptionParsers.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/OptionValues.h"

#include <cctype>
#include <climits>

namespace kestrova {

namespace {

[[noreturn]] void RaiseMalformed(const std::string& name, const std::string& value) {
    throw FFmpegException("Invalid value " + QuotedForMessage(value) + " for option \"" + name + "\"");
}

// Integers separated by exactly one character of any kind; between minCount and maxCount of
// them, and nothing else.
std::vector<int> ReadSeparatedIntegers(const std::string& name, const std::string& value,
                                       std::size_t minCount, std::size_t maxCount) {
    std::vector<int> numbers;
    std::size_t position = 0;
    for (;;) {
        std::size_t end = position;
        if (end < value.size() && (value[end] == '-' || value[end] == '+')) ++end;
        while (end < value.size() && std::isdigit(static_cast<unsigned char>(value[end]))) ++end;
        int64_t number = 0;
        if (!TryParseInteger(value.substr(position, end - position), number) || number < INT_MIN ||
            number > INT_MAX)
            RaiseMalformed(name, value);
        numbers.push_back(static_cast<int>(number));
        if (end >= value.size()) break;
        // One separator, then another number must follow.
        if (numbers.size() == maxCount) RaiseMalformed(name, value);
        position = end + 1;
    }
    if (numbers.size() < minCount) RaiseMalformed(name, value);
    return numbers;
}

}  // namespace

TStreamMap ParseStreamMap(const std::string& name, const std::string& value) {
    const std::vector<int> numbers = ReadSeparatedIntegers(name, value, 2, 4);
    if (numbers.size() == 3) RaiseMalformed(name, value);
    TStreamMap map;
    map.FileIndex = numbers[0];
    map.StreamIndex = numbers[1];
    map.SyncFileIndex = numbers.size() == 4 ? numbers[2] : numbers[0];
    map.SyncStreamIndex = numbers.size() == 4 ? numbers[3] : numbers[1];
    return map;
}

TMetaDataMap ParseMetaDataMap(const std::string& name, const std::string& value) {
    const std::vector<int> numbers = ReadSeparatedIntegers(name, value, 2, 2);
    return TMetaDataMap{numbers[0], numbers[1]};
}

TStreamScale ParseStreamScale(const std::string& name, const std::string& value) {
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos) RaiseMalformed(name, value);
    TStreamScale result;
    result.StreamIndex = ParseIntegerOption(name, value.substr(0, colon));
    result.Scale = ParseFloatOption(name, value.substr(colon + 1));
    if (result.StreamIndex < 0 || result.StreamIndex >= kMaxStreams)
        throw FFmpegException("stream index over MAX_STREAMS(" + std::to_string(kMaxStreams) + ")");
    return result;
}

std::vector<std::string> PixelFormatList() {
    std::vector<std::string> lines;
    char line[256];
    lines.emplace_back(ff::av_get_pix_fmt_string(line, sizeof line, AV_PIX_FMT_NONE));
    for (const AVPixFmtDescriptor* descriptor = ff::av_pix_fmt_desc_next(nullptr); descriptor;
         descriptor = ff::av_pix_fmt_desc_next(descriptor))
        lines.emplace_back(
                ff::av_get_pix_fmt_string(line, sizeof line, ff::av_pix_fmt_desc_get_id(descriptor)));
    return lines;
}

std::vector<std::string> SampleFormatList() {
    std::vector<std::string> lines;
    char line[256];
    lines.emplace_back(ff::av_get_sample_fmt_string(line, sizeof line, AV_SAMPLE_FMT_NONE));
    for (int format = 0; format < AV_SAMPLE_FMT_NB; ++format)
        lines.emplace_back(
                ff::av_get_sample_fmt_string(line, sizeof line, static_cast<AVSampleFormat>(format)));
    return lines;
}

}  // namespace kestrova
