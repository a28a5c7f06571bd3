#include "tools/cli/LogWatch.h"

namespace kestrova::cli {

namespace {

constexpr const char* kInvalidValue = "Invalid value";
constexpr const char* kWarningPrefix = "warning: ";

std::string WithoutLineBreak(const std::string& line) {
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace

bool IsInvalidValueLine(const std::string& line) {
    return line.find(kInvalidValue) != std::string::npos;
}

std::string ShownLogLine(const std::string& line) {
    return IsInvalidValueLine(line) ? kWarningPrefix + line : line;
}

void TLogWatch::See(const std::string& line) {
    if (!IsInvalidValueLine(line)) return;
    {
        std::lock_guard guard(FLock);
        FLastInvalidValue = WithoutLineBreak(line);
    }
    ++FInvalidValues;
}

std::string TLogWatch::LastInvalidValue() const {
    std::lock_guard guard(FLock);
    return FLastInvalidValue;
}

}  // namespace kestrova::cli
