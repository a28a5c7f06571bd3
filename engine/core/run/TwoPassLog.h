#pragma once
// Two-pass log files: pass 1 writes the encoder's statistics to the log, pass 2 reads the whole
// log back and hands it to the encoder. Files go through the C-runtime companion functions.
#include "engine/frame/LibBindings.h"

#include <cstdio>
#include <memory>
#include <string>

namespace kestrova {

namespace detail {
struct TwoPassLogClose {
    void operator()(std::FILE* file) const { ff::my_fclose(file); }
};
}  // namespace detail

using TwoPassLogPtr = std::unique_ptr<std::FILE, detail::TwoPassLogClose>;

inline constexpr char kDefaultPassLogPrefix[] = "ffmpeg2pass";

// "<prefix>-<index>.log", at most 1023 characters. Without a prefix the log is named after the
// default prefix in the user's data folder (created when missing), which can be written also
// when the program is installed; a prefix that is set names its files as given.
std::string TwoPassLogName(const std::string& prefix, int outputStreamIndex);

// Opens the log for writing; null when it cannot be created.
TwoPassLogPtr CreatePassOneLog(const std::string& name);

// Appends one block of statistics text.
void WritePassOneStats(std::FILE* log, const char* text);

// Reads the whole log into `text`; false when it cannot be opened or read.
bool ReadPassTwoLog(const std::string& name, std::string& text);

}  // namespace kestrova
