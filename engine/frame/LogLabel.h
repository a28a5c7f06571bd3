#pragma once
// Names the work of the calling thread in the libraries' log lines. While a label lives on a
// thread, a line of a library context there starts "[name @ label]" rather than with the
// context's address, so that the user reads which file a line is about.
#include <string>

namespace kestrova {

class TLogThreadLabel {
public:
    // An empty label leaves the thread's lines as they were.
    explicit TLogThreadLabel(const std::string& label);
    ~TLogThreadLabel();  // gives back the label the thread had before
    TLogThreadLabel(const TLogThreadLabel&) = delete;
    TLogThreadLabel& operator=(const TLogThreadLabel&) = delete;

private:
    std::string FPrevious;
};

// The calling thread's label; empty when none lives.
const std::string& CurrentLogThreadLabel();

}  // namespace kestrova
