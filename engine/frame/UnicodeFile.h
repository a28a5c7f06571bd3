#pragma once
// A media file opened through the operating system's own file calls and offered to the
// libraries as a custom AVIOContext. Used for names the libraries' built-in file protocol must
// not see (the "unicode:utf8:" form of UnicodeProtocol.h).
#include "engine/frame/LibBindings.h"

#include <memory>
#include <string>

namespace kestrova {

class TUnicodeFile {
public:
    // Opens `path` (file system bytes, UTF-8) with access chosen by AVIO_FLAG_* `avioFlags`:
    // read-write and write-only create or truncate the file (mode 0644), anything else reads an
    // existing file. Returns nullptr when the file cannot be opened.
    static std::unique_ptr<TUnicodeFile> Open(const std::string& path, int avioFlags);

    // Adopts an open descriptor; it is closed with the object.
    explicit TUnicodeFile(int descriptor) : FDescriptor(descriptor) {}
    ~TUnicodeFile();
    TUnicodeFile(const TUnicodeFile&) = delete;
    TUnicodeFile& operator=(const TUnicodeFile&) = delete;

    // The AVIOContext callbacks; `opaque` is the TUnicodeFile.
    static int ReadPacket(void* opaque, uint8_t* buffer, int size);
    static int WritePacket(void* opaque, uint8_t* buffer, int size);
    static int64_t Seek(void* opaque, int64_t offset, int whence);

    int Read(uint8_t* buffer, int size);
    int Write(const uint8_t* buffer, int size);
    int64_t SeekTo(int64_t offset, int whence);
    int64_t Size() const;

    // Closes the descriptor now; false when the system reported an error (for writes this can be
    // the first sign of a full disk).
    bool Close();

private:
    int FDescriptor;
};

namespace detail {
// Frees a custom I/O context made by OpenUnicodeIO together with its buffer and its file.
struct UnicodeIOFree {
    void operator()(AVIOContext* context) const;
};
}  // namespace detail

using UnicodeIOPtr = std::unique_ptr<AVIOContext, detail::UnicodeIOFree>;

// Opens `path` and wraps it in an AVIOContext for reading or, when `avioFlags` has
// AVIO_FLAG_WRITE, for writing. On failure returns nullptr and sets `error` to a negative
// AVERROR (ENOENT when the file cannot be opened).
UnicodeIOPtr OpenUnicodeIO(const std::string& path, int avioFlags, int& error);

// True when `context` was made by OpenUnicodeIO (its callbacks are ours).
bool IsUnicodeIO(const AVIOContext* context);

}  // namespace kestrova
