#include "data/vhook/art/BmpWriter.h"

#include <fstream>

namespace kestrova::vhook::art {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kV5HeaderSize = 124;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kSrgbColourSpace = 0x73524742;  // 'sRGB'
constexpr uint32_t kIntentPictures = 4;
constexpr uint32_t kPixelsPerMetre = 3780;  // 96 dpi

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xffff);
    PutU16(out, value >> 16);
}

}  // namespace

bool WriteBmpFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
    const uint32_t pixelBytes = static_cast<uint32_t>(width) * height * 4;
    std::vector<uint8_t> out;
    out.reserve(kFileHeaderSize + kV5HeaderSize + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, kFileHeaderSize + kV5HeaderSize + pixelBytes);
    PutU32(out, 0);
    PutU32(out, kFileHeaderSize + kV5HeaderSize);

    PutU32(out, kV5HeaderSize);
    PutU32(out, static_cast<uint32_t>(width));
    PutU32(out, static_cast<uint32_t>(height));  // positive: rows from the bottom
    PutU16(out, 1);
    PutU16(out, 32);
    PutU32(out, kBitFields);
    PutU32(out, pixelBytes);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, 0);
    PutU32(out, 0);
    for (uint32_t mask : {0x00ff0000u, 0x0000ff00u, 0x000000ffu, 0xff000000u}) PutU32(out, mask);
    PutU32(out, kSrgbColourSpace);
    out.insert(out.end(), 36 + 12, 0);  // end points and gammas: unused with sRGB
    PutU32(out, kIntentPictures);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);

    for (int row = height - 1; row >= 0; --row) {
        const uint8_t* pixel = rgba.data() + static_cast<size_t>(row) * width * 4;
        for (int column = 0; column < width; ++column, pixel += 4) {
            const bool clear = pixel[3] == 0;
            out.push_back(clear ? 255 : pixel[2]);
            out.push_back(clear ? 255 : pixel[1]);
            out.push_back(clear ? 255 : pixel[0]);
            out.push_back(pixel[3]);
        }
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

}  // namespace kestrova::vhook::art
