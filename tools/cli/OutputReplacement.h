#pragma once
// Outputs that replace existing files are written under a temporary name beside the file they
// replace and take its place only when their task has finished: a task that fails, is stopped or
// never starts leaves the existing file as it was.
#include <mutex>
#include <string>
#include <vector>

namespace kestrova::cli {

class TOutputReplacements {
public:
    TOutputReplacements() = default;
    // The temporary files that did not take a file's place go.
    ~TOutputReplacements();
    TOutputReplacements(const TOutputReplacements&) = delete;
    TOutputReplacements& operator=(const TOutputReplacements&) = delete;

    // The name `task` writes the output to: the name itself when no regular file is there, else
    // a new name beside the file it names (through links) with the same extension.
    std::string WriteName(int task, const std::string& fileName);
    // The task has ended: when finished, its outputs take the place of the files they replace,
    // else they go. The reason when a file could not be replaced, else "".
    std::string End(int task, bool finished);

private:
    struct TReplacement {
        int Task = -1;
        std::string Temporary;
        std::string Target;
    };
    std::vector<TReplacement> FReplacements;
    std::mutex FLock;  // tasks end on notice threads
};

}  // namespace kestrova::cli
