#include "platform/ProcStatProcessorTimes.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

namespace kestrova::platform {

namespace {

// Field order of a cpu line: user nice system idle iowait irq softirq steal guest guest_nice.
// Guest time is already counted in user and nice, so only the first eight fields add up.
constexpr int kCountedFields = 8;
constexpr int kIdleField = 3;
constexpr int kIoWaitField = 4;

std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

TProcessorTicks ParseCpuLine(std::string_view fields) {
    TProcessorTicks ticks;
    for (int field = 0; field < kCountedFields; ++field) {
        while (!fields.empty() && fields.front() == ' ') fields.remove_prefix(1);
        uint64_t value = 0;
        const auto [end, error] = std::from_chars(fields.data(), fields.data() + fields.size(), value);
        if (error != std::errc()) break;  // older kernels have fewer fields
        fields.remove_prefix(static_cast<std::size_t>(end - fields.data()));
        ticks.Total += value;
        if (field != kIdleField && field != kIoWaitField) ticks.Busy += value;
    }
    return ticks;
}

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

TProcStatProcessorTimes::TProcStatProcessorTimes(std::string path) : FPath(std::move(path)) {}

void TProcStatProcessorTimes::Sample(std::vector<TProcessorTicks>& instances) {
    const std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(FPath.c_str(), "rb"));
    if (!file) throw std::runtime_error("Unable to read the processor times from " + FPath);
    if (FText.capacity() < 4096) FText.reserve(4096);
    FText.clear();
    char chunk[4096];
    std::size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) FText.append(chunk, read);
    ParseProcStat(FText, instances);
}

void ParseProcStat(std::string_view text, std::vector<TProcessorTicks>& instances) {
    instances.clear();
    std::optional<TProcessorTicks> total;
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        if (!line.starts_with("cpu")) continue;
        const std::size_t nameEnd = line.find(' ');
        if (nameEnd == std::string_view::npos) continue;
        const TProcessorTicks ticks = ParseCpuLine(line.substr(nameEnd));
        if (nameEnd == 3)
            total = ticks;
        else
            instances.push_back(ticks);
    }
    if (!total) throw std::runtime_error("Unable to locate the processor times in /proc/stat");
    instances.push_back(*total);
}

}  // namespace kestrova::platform
