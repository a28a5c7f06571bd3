#include "data/vhook/common/BmpFile.h"

#include <bit>
#include <cstdio>
#include <memory>

namespace kestrova::vhook {

namespace {

constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;
constexpr uint32_t kCompressionAlphaBitFields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<uint32_t>(bytes[at + 3]) << 24);
}
uint16_t ReadU16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// One channel's bit-field mask: where it starts and how many bits it has.
struct TChannelMask {
    uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    explicit TChannelMask(uint32_t mask = 0) : Mask(mask) {
        if (mask == 0) return;
        Shift = std::countr_zero(mask);
        Bits = std::popcount(mask);
    }
    // The channel of a pixel scaled to 0..255; `absent` when the mask is empty.
    uint8_t Value(uint32_t pixel, uint8_t absent) const {
        if (Bits == 0) return absent;
        const uint32_t raw = (pixel & Mask) >> Shift;
        const uint32_t maximum = Bits >= 32 ? 0xffffffffu : (1u << Bits) - 1;
        return static_cast<uint8_t>((static_cast<uint64_t>(raw) * 255 + maximum / 2) / maximum);
    }
};

struct TBmpLayout {
    int Width = 0, Height = 0;
    bool TopDown = false;
    int BitsPerPixel = 0;
    size_t PixelOffset = 0;
    TChannelMask Red, Green, Blue, Alpha;
};

std::optional<TBmpLayout> ReadLayout(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    TBmpLayout layout;
    layout.PixelOffset = ReadU32(bytes, 10);
    const size_t headerSize = ReadU32(bytes, 14);
    if (headerSize < kInfoHeaderSize || kFileHeaderSize + headerSize > bytes.size()) return std::nullopt;
    const auto width = static_cast<int32_t>(ReadU32(bytes, 18));
    const auto height = static_cast<int32_t>(ReadU32(bytes, 22));
    layout.BitsPerPixel = ReadU16(bytes, 28);
    const uint32_t compression = ReadU32(bytes, 30);
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    layout.Width = width;
    layout.TopDown = height < 0;
    layout.Height = height < 0 ? -height : height;
    if (layout.Width > kMaxPictureSide || layout.Height > kMaxPictureSide) return std::nullopt;

    if (compression == kCompressionNone) {
        if (layout.BitsPerPixel != 24 && layout.BitsPerPixel != 32) return std::nullopt;
        layout.Red = TChannelMask(0x00ff0000u);
        layout.Green = TChannelMask(0x0000ff00u);
        layout.Blue = TChannelMask(0x000000ffu);
        if (layout.BitsPerPixel == 32) layout.Alpha = TChannelMask(0xff000000u);
        return layout;
    }
    if ((compression != kCompressionBitFields && compression != kCompressionAlphaBitFields) ||
        layout.BitsPerPixel != 32)
        return std::nullopt;
    // The masks follow a plain information header, or sit inside the larger headers.
    const size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
    const bool alphaMask = compression == kCompressionAlphaBitFields || headerSize >= 56;
    if (masksAt + (alphaMask ? 16 : 12) > bytes.size()) return std::nullopt;
    layout.Red = TChannelMask(ReadU32(bytes, masksAt));
    layout.Green = TChannelMask(ReadU32(bytes, masksAt + 4));
    layout.Blue = TChannelMask(ReadU32(bytes, masksAt + 8));
    if (alphaMask) layout.Alpha = TChannelMask(ReadU32(bytes, masksAt + 12));
    return layout;
}

}  // namespace

std::optional<TRgbaImage> DecodeBmp(const std::vector<uint8_t>& bytes) {
    const std::optional<TBmpLayout> layout = ReadLayout(bytes);
    if (!layout) return std::nullopt;
    const size_t pixelBytes = layout->BitsPerPixel / 8;
    const size_t stride = (layout->Width * pixelBytes + 3) / 4 * 4;
    if (layout->PixelOffset > bytes.size() ||
        (bytes.size() - layout->PixelOffset) / stride < size_t(layout->Height))
        return std::nullopt;

    TRgbaImage image;
    image.Width = layout->Width;
    image.Height = layout->Height;
    image.Pixels.resize(static_cast<size_t>(image.Width) * image.Height * 4);
    bool anyAlpha = false;
    for (int row = 0; row < image.Height; ++row) {
        const int stored = layout->TopDown ? row : image.Height - 1 - row;
        const uint8_t* in = bytes.data() + layout->PixelOffset + static_cast<size_t>(stored) * stride;
        uint8_t* out = image.Pixels.data() + static_cast<size_t>(row) * image.Width * 4;
        for (int column = 0; column < image.Width; ++column, in += pixelBytes, out += 4) {
            const uint32_t pixel = in[0] | (in[1] << 8) | (in[2] << 16) |
                                   (pixelBytes == 4 ? static_cast<uint32_t>(in[3]) << 24 : 0);
            out[0] = layout->Red.Value(pixel, 0);
            out[1] = layout->Green.Value(pixel, 0);
            out[2] = layout->Blue.Value(pixel, 0);
            out[3] = layout->Alpha.Value(pixel, 255);
            anyAlpha = anyAlpha || out[3] != 0;
        }
    }
    if (!anyAlpha)
        for (size_t at = 3; at < image.Pixels.size(); at += 4) image.Pixels[at] = 255;
    return image;
}

std::optional<TRgbaImage> ReadBmpFile(const std::string& path) {
    struct TFileClose {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, TFileClose> file(std::fopen(path.c_str(), "rb"));
    if (!file) return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    constexpr size_t kMaxFileBytes = static_cast<size_t>(kMaxPictureSide) * kMaxPictureSide * 4 + 4096;
    for (size_t read; (read = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) {
        bytes.insert(bytes.end(), chunk, chunk + read);
        if (bytes.size() > kMaxFileBytes) return std::nullopt;
    }
    return DecodeBmp(bytes);
}

}  // namespace kestrova::vhook
