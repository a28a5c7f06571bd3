#include "tools/cli/QueueConsole.h"

#include "tools/cli/Console.h"

#include <algorithm>
#include <cmath>

#include <sys/ioctl.h>
#include <unistd.h>

namespace kestrova::cli {

namespace {

int TerminalColumns(std::FILE* stream) {
    winsize size{};
    if (::ioctl(fileno(stream), TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

}  // namespace

std::string EndText(const TTerminateInfo& info) {
    if (info.Exception) return "failed: " + info.ExceptionMsg;
    return info.Finished ? "finished" : "stopped";
}

TJobProgress JobProgressOf(const TProgressInfo& info) {
    TJobProgress progress;
    progress.InputIndex = info.FileIndex;
    progress.TotalDuration = info.TotalDuration;
    progress.CurrentDuration = info.CurrentDuration;
    progress.TotalSize = info.TotalSize;
    progress.BitRate = info.BitRate;
    progress.Quality = info.Quality;
    progress.Fps = info.FPS;
    progress.FrameNumber = info.FrameNumber;
    return progress;
}

TQueueConsole::TQueueConsole(std::FILE* stream, bool terminal, std::vector<std::string> taskNames)
    : FStream(stream), FTerminal(terminal), FColumns(terminal ? TerminalColumns(stream) : 0),
      FNames(std::move(taskNames)), FTexts(FNames.size(), "waiting") {}

std::string TQueueConsole::TaskLine(int task) const {
    std::string line = "task " + std::to_string(task + 1) + " (" + FNames[static_cast<std::size_t>(task)] +
                       "): " + FTexts[static_cast<std::size_t>(task)];
    // A line that wrapped would move the block out from under the cursor.
    if (FTerminal && FColumns > 1 && static_cast<int>(line.size()) >= FColumns)
        line.resize(static_cast<std::size_t>(FColumns - 1));
    return line;
}

void TQueueConsole::EraseBlock() {
    if (!FBlockShown) return;
    std::fprintf(FStream, "\033[%zuA\r\033[J", FTexts.size());
    FBlockShown = false;
}

void TQueueConsole::DrawBlock() {
    for (std::size_t task = 0; task < FTexts.size(); ++task)
        std::fprintf(FStream, "%s\n", TaskLine(static_cast<int>(task)).c_str());
    FBlockShown = true;
}

void TQueueConsole::SetTaskText(int task, const std::string& text) {
    if (task < 0 || task >= static_cast<int>(FTexts.size())) return;
    std::lock_guard guard(FLock);
    FTexts[static_cast<std::size_t>(task)] = text;
    if (FTerminal) {
        EraseBlock();
        DrawBlock();
    } else {
        std::fprintf(FStream, "%s\n", TaskLine(task).c_str());
    }
    std::fflush(FStream);
}

void TQueueConsole::ShowProgress(int task, const TJobProgress& progress) {
    SetTaskText(task, ProgressText(progress) + TimeLeftText(task, progress));
}

void TQueueConsole::ShowEnd(int task, const TTerminateInfo& info) {
    SetTaskText(task, EndText(info));
}

void TQueueConsole::ShowFailure(int task, const std::string& reason) {
    SetTaskText(task, "failed: " + reason);
}

void TQueueConsole::PrintTaskLine(int task) {
    if (task < 0 || task >= static_cast<int>(FTexts.size())) return;
    std::string line;
    {
        std::lock_guard guard(FLock);
        line = TaskLine(task);
    }
    PrintLine(line);
}

void TQueueConsole::PrintLogLine(const std::string& line) {
    std::lock_guard guard(FLock);
    const bool redraw = FBlockShown;
    EraseBlock();
    std::fputs(line.c_str(), FStream);
    if (line.empty() || line.back() != '\n') std::fputc('\n', FStream);
    if (redraw) DrawBlock();
    std::fflush(FStream);
}

void TQueueConsole::PrintLine(const std::string& line) {
    std::lock_guard guard(FLock);
    std::fprintf(FStream, "kestrova-cli: %s\n", line.c_str());
    // The block is left above for good: later updates start a new one below.
    FBlockShown = false;
    std::fflush(FStream);
}

// " 0:32": the time the task still takes at its pace since its first report (the window's
// estimate); empty while there is none.
std::string TQueueConsole::TimeLeftText(int task, const TJobProgress& progress) {
    if (task < 0 || progress.TotalDuration <= 0) return {};
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard guard(FLock);
    if (FPaces.size() <= static_cast<std::size_t>(task)) FPaces.resize(static_cast<std::size_t>(task) + 1);
    TPace& pace = FPaces[static_cast<std::size_t>(task)];
    if (!pace.Started) {
        pace = {true, now, progress.CurrentDuration};
        return {};
    }
    const double done = static_cast<double>(progress.CurrentDuration - pace.FirstCurrent);
    const double elapsed = std::chrono::duration<double>(now - pace.FirstTime).count();
    if (done <= 0 || elapsed <= 0) return {};
    const double left =
            static_cast<double>(std::max<int64_t>(0, progress.TotalDuration - progress.CurrentDuration));
    const long long seconds = static_cast<long long>(std::ceil(elapsed * left / done));
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, " %lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(text, sizeof text, " %lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

}  // namespace kestrova::cli
