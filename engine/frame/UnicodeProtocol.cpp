#include "engine/frame/UnicodeProtocol.h"

#include "engine/frame/UnicodeFile.h"

#include <iconv.h>
#include <langinfo.h>
#include <algorithm>
#include <atomic>
#include <cassert>
#include <cctype>
#include <cerrno>
#include <string_view>

namespace kestrova {

namespace {

constexpr std::string_view kPrefix = kUnicodeNamePrefix;

// Names handed to the libraries reach plain files only. A name with a colon would let them read
// a protocol in front of it ("md5:h.avi" would write a digest, "pipe:z.avi" standard output), so
// such a name goes over as "file:" + name, which the file protocol opens as it is written.
constexpr std::string_view kFilePrefix = "file:";
// The libraries' own protocols an input, and any file a format opens by itself, may reach.
constexpr char kInputProtocols[] = "file";

std::atomic<bool> gRegistered{false};

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsUtf8CharacterSet(std::string_view codeset) {
    std::string lower(codeset);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == "utf-8" || lower == "utf8";
}

class TCharacterSetConverter {
public:
    TCharacterSetConverter(const char* to, const char* from) : FHandle(::iconv_open(to, from)) {}
    ~TCharacterSetConverter() {
        if (Valid()) ::iconv_close(FHandle);
    }
    TCharacterSetConverter(const TCharacterSetConverter&) = delete;
    TCharacterSetConverter& operator=(const TCharacterSetConverter&) = delete;
    bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole of `text`; false when any character has no form in the target set.
    bool Convert(const std::string& text, std::string& out) {
        out.assign(text.size() * 4 + 16, '\0');
        char* in = const_cast<char*>(text.data());
        std::size_t inLeft = text.size();
        char* dest = out.data();
        std::size_t destLeft = out.size();
        if (::iconv(FHandle, &in, &inLeft, &dest, &destLeft) == static_cast<std::size_t>(-1)) return false;
        if (::iconv(FHandle, nullptr, nullptr, &dest, &destLeft) == static_cast<std::size_t>(-1))
            return false;
        out.resize(out.size() - destLeft);
        return true;
    }

private:
    iconv_t FHandle;
};

// True when `path` (UTF-8) is written the same in the locale's character set, so the libraries'
// own file protocol, which hands the bytes to the system as they are, reaches the same file.
// A character that the locale cannot express, or expresses with other bytes, fails.
bool PassesAsNarrowName(const std::string& path) {
    const char* codeset = ::nl_langinfo(CODESET);
    if (codeset && IsUtf8CharacterSet(codeset)) return true;
    if (IsAscii(path)) return true;  // every character set of this platform extends ASCII
    if (!codeset || !*codeset) return false;
    TCharacterSetConverter toNarrow(codeset, "UTF-8");
    std::string narrow;
    return toNarrow.Valid() && toNarrow.Convert(path, narrow) && narrow == path;
}

// Gives the caller's pre-allocated context back to the library on a failed open, as
// avformat_open_input itself does.
int FailOpen(AVFormatContext** ctx, int error) {
    if (ctx && *ctx) {
        ff::avformat_free_context(*ctx);
        *ctx = nullptr;
    }
    return error;
}

int OpenUnicodeInput(AVFormatContext** ctx, const std::string& libraryName, const AVInputFormat* fmt,
                     AVDictionary** options) {
    if (!IsUnicodeProtocolRegistered()) return FailOpen(ctx, AVERROR_PROTOCOL_NOT_FOUND);
    int error = 0;
    UnicodeIOPtr io = OpenUnicodeIO(FromLibraryName(libraryName), AVIO_FLAG_READ, error);
    if (!io) return FailOpen(ctx, error);
    if (!*ctx) *ctx = ff::avformat_alloc_context();
    if (!*ctx) return AVERROR(ENOMEM);
    (*ctx)->pb = io.get();
    (*ctx)->flags |= AVFMT_FLAG_CUSTOM_IO;  // the library must leave our context alone
    // On failure the library frees the format context but not a custom I/O context: `io` does.
    const int result = ff::avformat_open_input(ctx, libraryName.c_str(), fmt, options);
    if (result >= 0) io.release();  // CloseInputFile frees it with the format context
    return result;
}

}  // namespace

std::string ToLibraryName(const std::string& fileName) {
    if (IsUnicodeProtocolName(fileName)) return fileName;
    if (!PassesAsNarrowName(fileName)) return std::string(kPrefix) + fileName;
    if (fileName.find(':') != std::string::npos) return std::string(kFilePrefix) + fileName;
    return fileName;
}

bool IsUnicodeProtocolName(const std::string& libraryName) {
    return libraryName.size() > kPrefix.size() && libraryName.compare(0, kPrefix.size(), kPrefix) == 0;
}

std::string FromLibraryName(const std::string& libraryName) {
    if (IsUnicodeProtocolName(libraryName)) return libraryName.substr(kPrefix.size());
    if (libraryName.compare(0, kFilePrefix.size(), kFilePrefix) == 0)
        return libraryName.substr(kFilePrefix.size());
    return libraryName;
}

void RegisterUnicodeProtocol() {
    const bool bound = ff::avio_alloc_context && ff::avio_context_free && ff::avformat_open_input &&
                       ff::avformat_alloc_context && ff::avformat_free_context && ff::av_malloc &&
                       ff::av_free && ff::av_freep;
    assert(bound && "the format library must be bound before the unicode I/O is registered");
    if (!bound) return;
    gRegistered.store(true);
}

bool IsUnicodeProtocolRegistered() {
    return gRegistered.load();
}

int OpenInputFile(AVFormatContext** ctx, const std::string& libraryName, const AVInputFormat* fmt,
                  AVDictionary** options) {
    AVDictionary* ownOptions = nullptr;
    if (!options) options = &ownOptions;
    ff::av_dict_set(options, "protocol_whitelist", kInputProtocols, 0);
    const int result = IsUnicodeProtocolName(libraryName)
                               ? OpenUnicodeInput(ctx, libraryName, fmt, options)
                               : ff::avformat_open_input(ctx, libraryName.c_str(), fmt, options);
    ff::av_dict_free(&ownOptions);
    return result;
}

void CloseInputFile(AVFormatContext** ctx) {
    if (!ctx || !*ctx) return;
    AVIOContext* pb = (*ctx)->pb;
    const bool ownIO = ((*ctx)->flags & AVFMT_FLAG_CUSTOM_IO) && IsUnicodeIO(pb);
    ff::avformat_close_input(ctx);
    if (ownIO) {
        UnicodeIOPtr owned(pb);  // the library never frees a custom I/O context
    }
}

int OpenOutputIO(AVIOContext** pb, const std::string& libraryName, int flags) {
    if (!IsUnicodeProtocolName(libraryName)) return ff::avio_open(pb, libraryName.c_str(), flags);
    *pb = nullptr;
    if (!IsUnicodeProtocolRegistered()) return AVERROR_PROTOCOL_NOT_FOUND;
    int error = 0;
    UnicodeIOPtr io = OpenUnicodeIO(FromLibraryName(libraryName), flags, error);
    if (!io) return error;
    *pb = io.release();
    return 0;
}

int CloseOutputIO(AVIOContext** pb) {
    if (!pb || !*pb) return 0;
    if (!IsUnicodeIO(*pb)) return ff::avio_closep(pb);
    UnicodeIOPtr io{*pb};
    *pb = nullptr;
    int result = 0;
    if (io->write_flag) {
        ff::avio_flush(io.get());
        result = io->error;
    }
    if (!static_cast<TUnicodeFile*>(io->opaque)->Close() && result >= 0) result = AVERROR(EIO);
    return result;
}

}  // namespace kestrova
