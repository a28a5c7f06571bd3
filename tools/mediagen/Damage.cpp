#include "tools/mediagen/Damage.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

namespace kestrova::mediagen {

namespace {

constexpr size_t kOverwrittenBytes = 1024;

// Random bytes from 0x80 to 0xFE only. Without 0x00 and 0xFF no start code or sync word of a
// common media format can appear, and without ASCII no text format (subtitles, lyrics,
// playlists) or magic word can; so the noise never looks like media by chance, whatever the
// seed. (std::mt19937's output is fixed by the standard, unlike the distributions.)
std::vector<char> NoiseBytes(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<char> bytes(count);
    for (char& byte : bytes) byte = static_cast<char>(0x80 + random() % 0x7F);
    return bytes;
}

void WriteAt(const std::string& path, const std::vector<char>& bytes, std::ios::openmode mode) {
    std::fstream file(path, std::ios::binary | std::ios::out | mode);
    if (!file) throw std::runtime_error("could not open " + path + " to damage it");
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.flush();
    if (!file) throw std::runtime_error("could not write " + path);
}

}  // namespace

void DamageFile(const std::string& path, const std::string& kind, uint32_t seed) {
    const uintmax_t size = std::filesystem::file_size(path);
    if (kind == "empty") {
        std::filesystem::resize_file(path, 0);
    } else if (kind == "garbage") {
        WriteAt(path, NoiseBytes(static_cast<size_t>(size), seed), std::ios::trunc);
    } else if (kind == "truncated") {
        std::filesystem::resize_file(path, size / 2);
    } else if (kind == "overwritten") {
        const size_t count = static_cast<size_t>(std::min<uintmax_t>(size, kOverwrittenBytes));
        WriteAt(path, NoiseBytes(count, seed), std::ios::in);  // in|out: keep the rest of the file
    } else {
        throw std::runtime_error("unknown kind of damage " + kind);
    }
}

}  // namespace kestrova::mediagen
