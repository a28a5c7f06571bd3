#include "profiles/options/OutputName.h"

#include "profiles/options/OptionChoices.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>

namespace kestrova {

namespace {

// The name part of a path starts after its last separator.
std::size_t NameStart(const std::string& path) {
    const std::size_t separator = path.rfind('/');
    return separator == std::string::npos ? 0 : separator + 1;
}

// The path without the extension of its name part; a name that only starts with a dot
// (".hidden") has no extension.
std::string WithoutExtension(const std::string& path) {
    const std::size_t nameStart = NameStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) return path;
    return path.substr(0, dot);
}

std::string NumberedName(const std::string& base, const std::string& extension, int64_t number) {
    if (number == 0) return base + "_(new)" + extension;
    return base + "_(new_" + std::to_string(number) + ")" + extension;
}

enum class TCreateResult { Created, Exists, Failed };

TCreateResult CreateExclusive(const std::string& path) {
    for (;;) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return TCreateResult::Created;
        }
        if (errno == EINTR) continue;
        if (errno == EEXIST) return TCreateResult::Exists;
        struct stat status {};
        return ::lstat(path.c_str(), &status) == 0 ? TCreateResult::Exists : TCreateResult::Failed;
    }
}

}  // namespace

std::string OutputNameBase(const std::string& sourcePath, const QString& outputFolder) {
    const std::string withoutExtension = WithoutExtension(sourcePath);
    if (outputFolder.isEmpty() || outputFolder == kSameAsInput) return withoutExtension;
    std::string folder = QFile::encodeName(outputFolder).toStdString();
    if (folder.back() != '/') folder += '/';
    return folder + withoutExtension.substr(NameStart(withoutExtension));
}

std::string ReserveOutputFile(const std::string& base, const std::string& extension) {
    for (int64_t number = 0;; ++number) {
        const std::string candidate = NumberedName(base, extension, number);
        if (CreateExclusive(candidate) != TCreateResult::Exists) return candidate;
    }
}

}  // namespace kestrova
