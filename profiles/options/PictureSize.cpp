#include "profiles/options/PictureSize.h"

#include <QByteArray>
#include <QFile>

#include <cstdint>
#include <cstdlib>

namespace kestrova {

namespace {

// Enough for every header read here (a PAM header with comments included).
constexpr qint64 kHeaderBytes = 512;

uint32_t LittleEndian(const QByteArray& bytes, int at, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

uint32_t BigEndian32(const QByteArray& bytes, int at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

std::optional<TPictureSize> Checked(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
    return TPictureSize{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<TPictureSize> BmpSize(const QByteArray& bytes) {
    if (bytes.size() < 26) return std::nullopt;
    if (LittleEndian(bytes, 14, 4) == 12)  // the old core header: 16-bit sizes
        return Checked(LittleEndian(bytes, 18, 2), LittleEndian(bytes, 20, 2));
    const int32_t height = static_cast<int32_t>(LittleEndian(bytes, 22, 4));  // negative: rows top-down
    return Checked(static_cast<int32_t>(LittleEndian(bytes, 18, 4)), std::llabs(int64_t{height}));
}

std::optional<TPictureSize> PngSize(const QByteArray& bytes) {
    if (bytes.size() < 24 || bytes.mid(12, 4) != "IHDR") return std::nullopt;
    return Checked(BigEndian32(bytes, 16), BigEndian32(bytes, 20));
}

// The header's words after the magic number, comments ("#" to the end of the line) skipped.
class TNetpbmWords {
public:
    explicit TNetpbmWords(const QByteArray& bytes) : FBytes(bytes) {}

    QByteArray Next() {
        SkipBlanksAndComments();
        const qsizetype start = FAt;
        while (FAt < FBytes.size() && !IsBlank(FBytes[FAt])) ++FAt;
        return FBytes.mid(start, FAt - start);
    }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    void SkipBlanksAndComments() {
        while (FAt < FBytes.size()) {
            if (IsBlank(FBytes[FAt]))
                ++FAt;
            else if (FBytes[FAt] == '#')
                while (FAt < FBytes.size() && FBytes[FAt] != '\n') ++FAt;
            else
                break;
        }
    }

    const QByteArray& FBytes;
    qsizetype FAt = 2;  // after the magic number
};

int64_t WordNumber(const QByteArray& word) {
    bool ok = false;
    const qlonglong value = word.toLongLong(&ok);
    return ok ? value : -1;
}

std::optional<TPictureSize> NetpbmSize(const QByteArray& bytes) {
    TNetpbmWords words(bytes);
    if (bytes[1] != '7') {
        const int64_t width = WordNumber(words.Next());
        return Checked(width, WordNumber(words.Next()));
    }
    int64_t width = -1;
    int64_t height = -1;
    for (QByteArray word = words.Next(); !word.isEmpty() && word != "ENDHDR"; word = words.Next()) {
        if (word == "WIDTH")
            width = WordNumber(words.Next());
        else if (word == "HEIGHT")
            height = WordNumber(words.Next());
    }
    return Checked(width, height);
}

}  // namespace

std::optional<TPictureSize> ReadPictureSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.read(kHeaderBytes);
    if (bytes.startsWith("BM")) return BmpSize(bytes);
    if (bytes.startsWith("\x89PNG\r\n\x1a\n")) return PngSize(bytes);
    if (bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '7') return NetpbmSize(bytes);
    return std::nullopt;
}

}  // namespace kestrova
