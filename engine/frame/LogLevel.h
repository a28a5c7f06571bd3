#pragma once
// The engine's eight log levels and their counterparts among the libraries' numeric levels.
#include <string>

namespace kestrova {

enum TLogLevel { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

// (ordinal - 1) * 8: llQuiet -8, llPanic 0, ... llDebug 48.
int LogLevelToLibrary(TLogLevel level);
// (level / 8, truncated) + 1, clamped to llQuiet .. llDebug.
TLogLevel LogLevelFromLibrary(int level);
// "quiet" .. "debug" in any letter case, else a decimal integer; gives the library level.
// Throws std::invalid_argument naming the text when it is neither.
int LibraryLogLevelFromText(const std::string& text);

}  // namespace kestrova
