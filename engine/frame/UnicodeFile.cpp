#include "engine/frame/UnicodeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace kestrova {

namespace {

// The libraries' own buffer size for files; large reads bypass the buffer anyway.
constexpr int kIOBufferSize = 32768;

int OpenFlagsFor(int avioFlags) {
    if ((avioFlags & AVIO_FLAG_READ_WRITE) == AVIO_FLAG_READ_WRITE) return O_RDWR | O_CREAT | O_TRUNC;
    if (avioFlags & AVIO_FLAG_WRITE) return O_WRONLY | O_CREAT | O_TRUNC;
    return O_RDONLY;
}

TUnicodeFile& FileOf(void* opaque) {
    return *static_cast<TUnicodeFile*>(opaque);
}

}  // namespace

std::unique_ptr<TUnicodeFile> TUnicodeFile::Open(const std::string& path, int avioFlags) {
    int descriptor;
    do {
        descriptor = ::open(path.c_str(), OpenFlagsFor(avioFlags) | O_CLOEXEC, 0644);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) return nullptr;
    return std::make_unique<TUnicodeFile>(descriptor);
}

TUnicodeFile::~TUnicodeFile() {
    Close();
}

bool TUnicodeFile::Close() {
    if (FDescriptor < 0) return true;
    const int result = ::close(FDescriptor);
    FDescriptor = -1;
    return result == 0;
}

int TUnicodeFile::Read(uint8_t* buffer, int size) {
    ssize_t got;
    do {
        got = ::read(FDescriptor, buffer, static_cast<size_t>(size));
    } while (got < 0 && errno == EINTR);
    if (got < 0) return AVERROR(EIO);
    if (got == 0 && size > 0) return AVERROR_EOF;  // the I/O layer needs EOF, not 0
    return static_cast<int>(got);
}

int TUnicodeFile::Write(const uint8_t* buffer, int size) {
    // The I/O layer does not retry a short write, so keep writing until all of it is out:
    // a partial write must not silently drop the rest of the buffer.
    int done = 0;
    while (done < size) {
        const ssize_t put = ::write(FDescriptor, buffer + done, static_cast<size_t>(size - done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return AVERROR(EIO);
        done += static_cast<int>(put);
    }
    return done;
}

int64_t TUnicodeFile::Size() const {
    struct stat info {};
    if (::fstat(FDescriptor, &info) != 0) return AVERROR(EIO);
    return static_cast<int64_t>(info.st_size);
}

int64_t TUnicodeFile::SeekTo(int64_t offset, int whence) {
    if (whence & AVSEEK_SIZE) return Size();
    const int origin = whence & ~AVSEEK_FORCE;  // a hint for network protocols only
    if (origin != SEEK_SET && origin != SEEK_CUR && origin != SEEK_END) return AVERROR(EINVAL);
    const off_t position = ::lseek(FDescriptor, static_cast<off_t>(offset), origin);
    if (position < 0) return AVERROR(EIO);
    return static_cast<int64_t>(position);
}

int TUnicodeFile::ReadPacket(void* opaque, uint8_t* buffer, int size) {
    return FileOf(opaque).Read(buffer, size);
}
int TUnicodeFile::WritePacket(void* opaque, uint8_t* buffer, int size) {
    return FileOf(opaque).Write(buffer, size);
}
int64_t TUnicodeFile::Seek(void* opaque, int64_t offset, int whence) {
    return FileOf(opaque).SeekTo(offset, whence);
}

void detail::UnicodeIOFree::operator()(AVIOContext* context) const {
    if (!context) return;
    std::unique_ptr<TUnicodeFile> file(static_cast<TUnicodeFile*>(context->opaque));
    ff::av_freep(&context->buffer);  // the library may have replaced the buffer we gave it
    ff::avio_context_free(&context);
}

UnicodeIOPtr OpenUnicodeIO(const std::string& path, int avioFlags, int& error) {
    error = 0;
    std::unique_ptr<TUnicodeFile> file = TUnicodeFile::Open(path, avioFlags);
    if (!file) {
        error = AVERROR(ENOENT);
        return nullptr;
    }
    auto* buffer = static_cast<unsigned char*>(ff::av_malloc(kIOBufferSize));
    if (!buffer) {
        error = AVERROR(ENOMEM);
        return nullptr;
    }
    const bool writing = (avioFlags & AVIO_FLAG_WRITE) != 0;
    const bool reading = !writing || (avioFlags & AVIO_FLAG_READ) != 0;
    AVIOContext* context = ff::avio_alloc_context(
            buffer, kIOBufferSize, writing ? 1 : 0, file.get(), reading ? &TUnicodeFile::ReadPacket : nullptr,
            writing ? &TUnicodeFile::WritePacket : nullptr, &TUnicodeFile::Seek);
    if (!context) {
        ff::av_free(buffer);
        error = AVERROR(ENOMEM);
        return nullptr;
    }
    file.release();  // owned by the context from here on (freed by UnicodeIOFree)
    return UnicodeIOPtr(context);
}

bool IsUnicodeIO(const AVIOContext* context) {
    return context && context->seek == &TUnicodeFile::Seek;
}

}  // namespace kestrova
