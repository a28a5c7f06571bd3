// The modules called directly, as the engine calls them, on pictures fenced by guard bytes: every
// pixel format and size, pictures they read in every stored form, and hooks that must not share
// state.
#include "HookRun.h"
#include "ModuleCalls.h"
#include "TestMedia.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <cstdio>
#include <fstream>
#include <optional>

namespace kestrova::vhooktest {
namespace {

constexpr int kPictureUnreadable = 2;  // Configure's result for a picture it cannot read

struct TPictureKind {
    AVPixelFormat Format;
    bool Drawn;  // false: a format the modules must leave exactly as it is
};

const TPictureKind kPictureKinds[] = {
        {AV_PIX_FMT_YUV420P, true},     {AV_PIX_FMT_YUVJ420P, true},    {AV_PIX_FMT_YUV422P, true},
        {AV_PIX_FMT_YUV444P, true},     {AV_PIX_FMT_YUV440P, true},     {AV_PIX_FMT_YUV411P, true},
        {AV_PIX_FMT_YUV410P, true},     {AV_PIX_FMT_NV12, true},        {AV_PIX_FMT_NV21, true},
        {AV_PIX_FMT_GRAY8, true},       {AV_PIX_FMT_GRAY10LE, true},    {AV_PIX_FMT_YUV420P10LE, true},
        {AV_PIX_FMT_YUV422P12LE, true}, {AV_PIX_FMT_YUV444P16LE, true}, {AV_PIX_FMT_RGB24, true},
        {AV_PIX_FMT_BGR24, true},       {AV_PIX_FMT_RGBA, true},        {AV_PIX_FMT_ARGB, true},
        {AV_PIX_FMT_0BGR, true},        {AV_PIX_FMT_PAL8, false},       {AV_PIX_FMT_YUYV422, false},
        {AV_PIX_FMT_P010LE, false},     {AV_PIX_FMT_RGB48LE, false},    {AV_PIX_FMT_YUV420P10BE, false},
};

struct TSize {
    int Width, Height;
};
const TSize kSizes[] = {{1, 1}, {2, 2}, {3, 5}, {17, 9}, {161, 97}, {400, 30}};
constexpr TSize kVisibleSize{161, 97};  // every line below draws something at this size

struct TModuleLine {
    const char* Name;
    std::vector<std::string> Arguments;  // "@name": a file in the program's vhook/
};

std::vector<std::string> Expanded(const std::vector<std::string>& arguments) {
    std::vector<std::string> expanded;
    for (const std::string& argument : arguments)
        expanded.push_back(argument.starts_with('@') ? VhookFile(argument.substr(1)) : argument);
    return expanded;
}

const TModuleLine kModuleLines[] = {
        {"WatermarkOpaque", {"@watermark.so", "-f", "@watermark.bmp", "-m", "1"}},
        {"WatermarkRelief", {"@watermark.so", "-f", "@watermark.bmp", "-m", "0"}},
        {"DemoAcrossTheEdges",
         {"@VantelHook.so", "-i", "@VantelHook.bmp", "-ix", "-20", "-iy", "60", "-t", "Edge", "-tx", "130",
          "-ty", "-8", "-fst", "BIUS"}},
        {"ImageTextMoving",
         {"@imlib2.so", "-i", "@imlib2.bmp", "-t", "VADOR", "-x", "W-w/2-mod(N,3)", "-y", "H/2-h"}},
};

class ModuleSafetyTest : public ::testing::TestWithParam<TModuleLine> {};

// One hook meets every kind and size of picture in turn, several frames each.
TEST_P(ModuleSafetyTest, DrawsOnlyInsideEveryKindAndSizeOfPicture) {
    THookInstance hook(Expanded(GetParam().Arguments));
    ASSERT_EQ(hook.Result(), 0);
    for (const TPictureKind& kind : kPictureKinds) {
        for (const TSize& size : kSizes) {
            SCOPED_TRACE(std::string(av_get_pix_fmt_name(kind.Format)) + " " + std::to_string(size.Width) +
                         "x" + std::to_string(size.Height));
            TFencedPicture picture(kind.Format, size.Width, size.Height);
            const std::vector<uint8_t> original = picture.Content();
            for (int64_t frame = 0; frame < 3; ++frame)
                hook.Process(picture.Record(), kind.Format, size.Width, size.Height, frame * 40000);
            EXPECT_TRUE(picture.FencesIntact());
            const bool changed = picture.Content() != original;
            const bool visible = size.Width == kVisibleSize.Width && size.Height == kVisibleSize.Height;
            if (!kind.Drawn) {
                EXPECT_FALSE(changed);
            } else if (visible) {
                EXPECT_TRUE(changed);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ModuleSafetyTest, ::testing::ValuesIn(kModuleLines),
                         [](const auto& info) { return std::string(info.param.Name); });

// Two hooks of one module: the frames one has seen do not move the other's picture.
TEST(ModuleStateTest, HooksOfOneModuleKeepTheirOwnFrameCount) {
    const std::vector<std::string> line =
            Expanded({"@imlib2.so", "-i", "@imlib2.bmp", "-x", "N*5", "-y", "0"});
    THookInstance busy(line), fresh(line);
    ASSERT_EQ(busy.Result(), 0);
    ASSERT_EQ(fresh.Result(), 0);
    TFencedPicture scratch(AV_PIX_FMT_YUV420P, 200, 80);
    for (int frame = 0; frame < 6; ++frame)
        busy.Process(scratch.Record(), AV_PIX_FMT_YUV420P, 200, 80, frame);

    TFencedPicture first(AV_PIX_FMT_YUV420P, 200, 80), again(AV_PIX_FMT_YUV420P, 200, 80);
    fresh.Process(first.Record(), AV_PIX_FMT_YUV420P, 200, 80, 0);
    THookInstance another(line);
    another.Process(again.Record(), AV_PIX_FMT_YUV420P, 200, 80, 0);
    EXPECT_EQ(first.Content(), again.Content());
}

// --- Pictures as files store them ------------------------------------------------------------

constexpr int kArtWidth = 5, kArtHeight = 3;  // odd width: 24-bit rows need padding
constexpr std::array<int, 3> kArtColour = {200, 30, 40};

struct TBitmapForm {
    const char* Name;
    int BitsPerPixel = 24;
    int Compression = 0;  // 0 none, 1 run-length, 3 bit fields
    int HeaderSize = 40;
    bool TopDown = false;
    int Width = kArtWidth;
    size_t KeepBytes = 0;  // non-zero: the file is cut after this many bytes
    bool Readable = true;
};

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The colour of each column of the test pictures.
using TColumnColour = std::array<int, 3> (*)(int column);

// A picture in the given form, written byte by byte; one colour unless told otherwise.
std::vector<uint8_t> BitmapBytes(
        const TBitmapForm& form, TColumnColour colourOf = [](int) { return kArtColour; }) {
    const int pixelBytes = form.BitsPerPixel / 8 > 0 ? form.BitsPerPixel / 8 : 1;
    const int stride = (form.Width * pixelBytes + 3) / 4 * 4;
    const bool masks = form.Compression == 3;
    const uint32_t pixelOffset = 14 + form.HeaderSize + (masks && form.HeaderSize == 40 ? 12 : 0);
    std::vector<uint8_t> out = {'B', 'M'};
    Put(out, pixelOffset + stride * kArtHeight, 4);
    Put(out, 0, 4);
    Put(out, pixelOffset, 4);
    Put(out, form.HeaderSize, 4);
    Put(out, static_cast<uint32_t>(form.Width), 4);
    Put(out, static_cast<uint32_t>(form.TopDown ? -kArtHeight : kArtHeight), 4);
    Put(out, 1, 2);
    Put(out, form.BitsPerPixel, 2);
    Put(out, form.Compression, 4);
    Put(out, stride * kArtHeight, 4);
    out.resize(14 + 40, 0);
    if (masks) {
        for (uint32_t mask : {0x00ff0000u, 0x0000ff00u, 0x000000ffu}) Put(out, mask, 4);
        if (form.HeaderSize > 40) Put(out, 0xff000000u, 4);
    }
    out.resize(pixelOffset, 0);
    for (int row = 0; row < kArtHeight; ++row) {
        for (int column = 0; column < form.Width; ++column) {
            if (pixelBytes >= 3) {
                const std::array<int, 3> colour = colourOf(column);
                out.insert(out.end(), {static_cast<uint8_t>(colour[2]), static_cast<uint8_t>(colour[1]),
                                       static_cast<uint8_t>(colour[0])});
                // 32 bits: an opaque alpha with an alpha mask, an unused zero byte without.
                if (pixelBytes == 4) out.push_back(masks && form.HeaderSize > 40 ? 255 : 0);
            } else {
                out.push_back(0);
            }
        }
        out.resize(pixelOffset + static_cast<size_t>(stride) * (row + 1), 0);
    }
    if (form.KeepBytes) out.resize(form.KeepBytes);
    return out;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

const TBitmapForm kBitmapForms[] = {
        {"TwentyFourBitsFromTheBottom"},
        {"TwentyFourBitsFromTheTop", 24, 0, 40, true},
        {"ThirtyTwoBitsWithAnUnusedFourthByte", 32},
        {"ThirtyTwoBitsWithBitFieldMasks", 32, 3},
        {"ThirtyTwoBitsWithAnAlphaMask", 32, 3, 124},
        {"PaletteRefused", 8, 0, 40, false, kArtWidth, 0, false},
        {"RunLengthRefused", 24, 1, 40, false, kArtWidth, 0, false},
        {"TruncatedRefused", 24, 0, 40, false, kArtWidth, 70, false},
        {"HeaderOnlyRefused", 24, 0, 40, false, kArtWidth, 30, false},
        {"ZeroWidthRefused", 24, 0, 40, false, 0, 0, false},
        {"TooWideRefused", 24, 0, 40, false, 100000, 0, false},
};

class PictureFormTest : public ::testing::TestWithParam<TBitmapForm> {};

TEST_P(PictureFormTest, WatermarkShowsThePictureOrRefusesIt) {
    const TBitmapForm& form = GetParam();
    const std::string path = testmedia::TempDir(std::string("bitmap-") + form.Name) + "/mark.bmp";
    WriteFile(path, BitmapBytes(form));
    THookInstance hook({VhookFile("watermark.so"), "-f", path, "-m", "1"});
    ASSERT_EQ(hook.Result(), form.Readable ? 0 : kPictureUnreadable);
    if (!form.Readable) return;

    constexpr int kWidth = 64, kHeight = 32, kMargin = 10;
    TFencedPicture picture(AV_PIX_FMT_YUV444P, kWidth, kHeight);
    hook.Process(picture.Record(), AV_PIX_FMT_YUV444P, kWidth, kHeight, 0);
    const TFramePtr frame = picture.AsFrame();
    for (int y = kMargin; y < kMargin + kArtHeight; ++y)
        for (int x = kWidth - kMargin - kArtWidth; x < kWidth - kMargin; ++x) {
            const std::array<int, 4> shown = PixelRgba(*frame, x, y);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(shown[c], kArtColour[c], 3) << "at " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Forms, PictureFormTest, ::testing::ValuesIn(kBitmapForms),
                         [](const auto& info) { return std::string(info.param.Name); });

// The demonstration hook's colour key: picture pixels of exactly that colour leave the frame's
// pixels as they were; the others are drawn.
TEST(ColourKeyTest, KeyedPixelsLeaveTheFrameAlone) {
    const std::string path = testmedia::TempDir("bitmap-colour-key") + "/keyed.bmp";
    WriteFile(path, BitmapBytes({"KeyOnTheLeft"}, [](int column) {
                  return column < 2 ? std::array{255, 255, 255} : std::array{254, 255, 255};
              }));
    THookInstance hook({VhookFile("VantelHook.so"), "-i", path, "-mc", "FFFFFF", "-ix", "0", "-iy", "0"});
    ASSERT_EQ(hook.Result(), 0);
    TFencedPicture picture(AV_PIX_FMT_GRAY8, 8, 4);
    const TFramePtr before = picture.AsFrame();
    std::vector<int> original;
    for (int x = 0; x < kArtWidth; ++x) original.push_back(PixelRgba(*before, x, 1)[0]);
    hook.Process(picture.Record(), AV_PIX_FMT_GRAY8, 8, 4, 0);
    const TFramePtr after = picture.AsFrame();
    for (int x = 0; x < kArtWidth; ++x)
        EXPECT_EQ(PixelRgba(*after, x, 1)[0], x < 2 ? original[x] : 255) << "column " << x;
}

}  // namespace
}  // namespace kestrova::vhooktest
