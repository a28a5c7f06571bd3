#pragma once
// File names handed to the media libraries, and the "unicode" file I/O behind them.
//
// Paths inside the program are UTF-8. A path whose bytes are already in the locale's character
// set (every path in a UTF-8 locale, plain ASCII in the C locale) goes to the libraries as it
// is and is opened by their own file protocol. Any other path is handed over as
// "unicode:utf8:" + path and opened here, through the operating system's file calls, as a
// custom AVIOContext. Call ToLibraryName for every file name before it reaches the libraries,
// open inputs with OpenInputFile / CloseInputFile (or InputFilePtr) and output files with
// OpenOutputIO / CloseOutputIO instead of avformat_open_input, avio_open and avio_closep.
// Names read back from a format context go through FromLibraryName.
//
// Every function here is safe to call from any thread.
#include "engine/frame/LibBindings.h"

#include <memory>
#include <string>

namespace kestrova {

// The prefix of library names opened by the unicode I/O.
inline constexpr char kUnicodeNamePrefix[] = "unicode:utf8:";

// The name to give the libraries for `fileName` (UTF-8). Every name is a file: a name with a
// colon ("md5:h.avi", "http://x") goes over as "file:" + name; an existing "unicode:utf8:" name
// passes unchanged.
std::string ToLibraryName(const std::string& fileName);

// The path behind a library name: a "unicode:utf8:" or "file:" name loses its prefix, any other
// name is already the file system's own bytes and comes back unchanged.
std::string FromLibraryName(const std::string& libraryName);

// True for names of the "unicode:utf8:" form with a path after the prefix.
bool IsUnicodeProtocolName(const std::string& libraryName);

// Makes the unicode I/O available; called by the loader each time the format library has been
// bound. Repeated calls do nothing more.
void RegisterUnicodeProtocol();
bool IsUnicodeProtocolRegistered();

// Counterpart of avformat_open_input, restricted to the file protocol (also for the files a
// format opens by itself): `*ctx` may hold a pre-allocated context (it is freed on
// failure, as the library does). Returns 0 or a negative AVERROR: AVERROR(ENOENT) when a
// unicode name cannot be opened, AVERROR_PROTOCOL_NOT_FOUND when the unicode I/O is not
// registered. Close the result with CloseInputFile (never avformat_close_input alone, which
// would leak the custom I/O).
int OpenInputFile(AVFormatContext** ctx, const std::string& libraryName, const AVInputFormat* fmt,
                  AVDictionary** options);
void CloseInputFile(AVFormatContext** ctx);

namespace detail {
struct InputFileClose {
    void operator()(AVFormatContext* ctx) const { CloseInputFile(&ctx); }
};
}  // namespace detail

// An input format context opened by OpenInputFile.
using InputFilePtr = std::unique_ptr<AVFormatContext, detail::InputFileClose>;

// Counterpart of avio_open (AVIO_FLAG_* flags; meant for output files, reading works too).
// A unicode name that cannot be opened gives AVERROR(ENOENT).
int OpenOutputIO(AVIOContext** pb, const std::string& libraryName, int flags);

// Counterpart of avio_closep: flushes, closes and frees `*pb`, sets it to nullptr. Returns 0, or
// a negative AVERROR when buffered data could not be written or the file not closed.
int CloseOutputIO(AVIOContext** pb);

}  // namespace kestrova
