#include "tools/cli/Console.h"

#include <cstdint>

namespace kestrova::cli {

namespace {

std::string ClockText(int64_t microseconds) {
    const int64_t seconds = microseconds < 0 ? 0 : microseconds / 1000000;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

}  // namespace

std::string ProgressText(const TJobProgress& progress) {
    char text[128];
    std::snprintf(text, sizeof text, "time=%s size=%8.2fMB", ClockText(progress.CurrentDuration).c_str(),
                  static_cast<double>(progress.TotalSize) / (1024.0 * 1024.0));
    std::string line = text;
    if (progress.TotalDuration > 0) {
        const double percent = 100.0 * static_cast<double>(progress.CurrentDuration) /
                               static_cast<double>(progress.TotalDuration);
        std::snprintf(text, sizeof text, " %3d%%", static_cast<int>(percent < 100 ? percent : 100));
        line += text;
    }
    return line;
}

TConsole::TConsole(std::FILE* stream, bool progressLine) : FStream(stream), FProgressLine(progressLine) {}

void TConsole::ClearProgressLine() {
    if (FShownProgress.empty()) return;
    std::fputs("\r\033[K", FStream);
}

void TConsole::PrintLogLine(const std::string& line) {
    std::lock_guard guard(FLock);
    ClearProgressLine();
    std::fputs(line.c_str(), FStream);
    if (line.empty() || line.back() != '\n') std::fputc('\n', FStream);
    // The progress stays visible below the log.
    if (!FShownProgress.empty()) std::fputs(FShownProgress.c_str(), FStream);
    std::fflush(FStream);
}

void TConsole::ShowProgress(const TJobProgress& progress) {
    if (!FProgressLine) return;
    std::lock_guard guard(FLock);
    ClearProgressLine();
    FShownProgress = ProgressText(progress);
    std::fputc('\r', FStream);
    std::fputs(FShownProgress.c_str(), FStream);
    std::fflush(FStream);
}

void TConsole::FinishProgress() {
    std::lock_guard guard(FLock);
    if (FShownProgress.empty()) return;
    std::fputc('\n', FStream);
    FShownProgress.clear();
    std::fflush(FStream);
}

void TConsole::PrintError(const std::string& message) {
    FinishProgress();
    std::lock_guard guard(FLock);
    std::fprintf(FStream, "kestrova-cli: %s\n", message.c_str());
    std::fflush(FStream);
}

}  // namespace kestrova::cli
