#pragma once
// Only for the core: failed writes to an output file. The I/O layer buffers what a muxer writes
// and keeps the error of a write that failed later (a full disk, a broken device); a run checks
// it after each write so that it stops at once, and says why in the system's words.
#include "engine/frame/LibHeaders.h"

#include <string>

namespace kestrova {

// The error of a write: the muxer's result when negative, else the error the file's I/O context
// recorded; 0 when the write went through.
int OutputWriteError(const AVFormatContext& context, int result);

// "<what>: <the library's text for the error>", e.g. "...: No space left on device".
std::string WriteFailureText(const std::string& what, int error);

}  // namespace kestrova
