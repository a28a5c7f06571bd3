#pragma once
// What kestrova-cli looks for in the engine's log: the "Invalid value" lines the engine writes
// when a library refuses an option's value and the engine goes on without it. While the
// command line is applied such a line means the option was refused; during the run it is shown
// as a warning.
#include <atomic>
#include <mutex>
#include <string>

namespace kestrova::cli {

bool IsInvalidValueLine(const std::string& line);

// The line as the terminal shows it: "Invalid value" lines as warnings, others unchanged.
std::string ShownLogLine(const std::string& line);

// Counts the "Invalid value" lines that pass and keeps the last one. Log lines may come from
// any thread.
class TLogWatch {
public:
    void See(const std::string& line);
    int InvalidValueCount() const { return FInvalidValues; }
    std::string LastInvalidValue() const;

private:
    std::atomic<int> FInvalidValues{0};
    mutable std::mutex FLock;
    std::string FLastInvalidValue;
};

}  // namespace kestrova::cli
