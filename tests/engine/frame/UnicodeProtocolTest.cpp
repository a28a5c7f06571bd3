// File names handed to the media libraries and the unicode file I/O, through the real libraries.
#include "engine/frame/UnicodeProtocol.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/LibBindings.h"
#include "engine/frame/UnicodeFile.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace kestrova;

namespace {

// Switches the process locale for one test and restores it afterwards.
class TScopedLocale {
public:
    explicit TScopedLocale(const char* name) : FSaved(std::setlocale(LC_ALL, nullptr)) {
        FActive = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~TScopedLocale() { std::setlocale(LC_ALL, FSaved.c_str()); }
    bool Active() const { return FActive; }

private:
    std::string FSaved;
    bool FActive = false;
};

const std::string kAccented = "clip-\xC3\xA9t\xC3\xA9";    // "clip-été"
const std::string kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC";  // "日本"

// A fresh folder in the build tree, one per test so that tests may run side by side.
fs::path WorkFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return fs::path(testmedia::TempDir(std::string("unicode-") + test->name()));
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::uintmax_t FileSize(const std::string& path) {
    return fs::file_size(fs::path(path));
}

// ---------------------------------------------------------------------------------------------
// Name conversion: needs no library.

TEST(UnicodeNames, CLocaleKeepsAsciiPathsAsTheyAre) {
    TScopedLocale locale("C");
    EXPECT_EQ(ToLibraryName("/tmp/movies/clip 1.flv"), "/tmp/movies/clip 1.flv");
    EXPECT_EQ(FromLibraryName("/tmp/movies/clip 1.flv"), "/tmp/movies/clip 1.flv");
}

TEST(UnicodeNames, CLocaleSendsNonAsciiPathsThroughTheUnicodeForm) {
    TScopedLocale locale("C");
    for (const std::string& path : {"/tmp/" + kAccented + ".mp4", "/tmp/" + kJapanese + "/a.wav"}) {
        const std::string name = ToLibraryName(path);
        EXPECT_EQ(name, "unicode:utf8:" + path);
        EXPECT_TRUE(IsUnicodeProtocolName(name));
        EXPECT_EQ(FromLibraryName(name), path);
    }
}

TEST(UnicodeNames, Utf8LocalePassesEveryPathUnchanged) {
    TScopedLocale locale("C.UTF-8");
    ASSERT_TRUE(locale.Active());
    for (const std::string& path :
         {"/tmp/" + kAccented + ".mp4", "/tmp/" + kJapanese + "/a.wav", std::string("/tmp/a.flv")}) {
        EXPECT_EQ(ToLibraryName(path), path);
        EXPECT_FALSE(IsUnicodeProtocolName(ToLibraryName(path)));
    }
}

TEST(UnicodeNames, EveryNameIsAFileNeverALibraryProtocol) {
    TScopedLocale locale("C");
    struct {
        std::string Name, LibraryName;
    } const cases[] = {
            {"md5:h.avi", "file:md5:h.avi"},
            {"pipe:z.avi", "file:pipe:z.avi"},
            {"file:y.avi", "file:file:y.avi"},
            {"http://example.com/a.flv", "file:http://example.com/a.flv"},
            {"/tmp/a:b.flv", "file:/tmp/a:b.flv"},
            {"/tmp/plain.flv", "/tmp/plain.flv"},
            {"unicode:utf8:/tmp/" + kAccented, "unicode:utf8:/tmp/" + kAccented},
            {"ftp:" + kAccented, "unicode:utf8:ftp:" + kAccented},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToLibraryName(c.Name), c.LibraryName);
        EXPECT_EQ(FromLibraryName(ToLibraryName(c.Name)),
                  c.Name.rfind("unicode:", 0) == 0 ? c.Name.substr(13) : c.Name);
    }
}

TEST(UnicodeNames, ConversionIsIdempotent) {
    TScopedLocale locale("C");
    const std::string once = ToLibraryName("/tmp/" + kAccented);
    EXPECT_EQ(ToLibraryName(once), once);
}

TEST(UnicodeNames, OnlyAPrefixWithAPathIsAUnicodeName) {
    EXPECT_FALSE(IsUnicodeProtocolName("unicode:utf8:"));
    EXPECT_FALSE(IsUnicodeProtocolName("unicode:/tmp/a"));
    EXPECT_TRUE(IsUnicodeProtocolName("unicode:utf8:a"));
    EXPECT_EQ(FromLibraryName("unicode:utf8:"), "unicode:utf8:");
    // The path itself may hold colons; only the two leading parts go.
    EXPECT_EQ(FromLibraryName("unicode:utf8:/tmp/a:b"), "/tmp/a:b");
}

// ---------------------------------------------------------------------------------------------
// File I/O through the libraries.

class UnicodeFileIO : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
        RegisterUnicodeProtocol();
    }
    void SetUp() override { FFolder = WorkFolder(); }

    std::string PathOf(const std::string& leaf) const { return (FFolder / leaf).string(); }

    fs::path FFolder;
    TScopedLocale FLocale{"C"};
};

// Writes a mono 16-bit PCM WAV of `samples` samples (a ramp) through the output I/O.
void WriteWav(const std::string& libraryName, int samples) {
    AVFormatContext* raw = nullptr;
    ASSERT_GE(ff::avformat_alloc_output_context2(&raw, nullptr, "wav", libraryName.c_str()), 0);
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> out(raw, [](AVFormatContext* c) {
        CloseOutputIO(&c->pb);
        ff::avformat_free_context(c);
    });
    AVStream* stream = ff::avformat_new_stream(out.get(), nullptr);
    ASSERT_NE(stream, nullptr);
    stream->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
    stream->codecpar->codec_id = AV_CODEC_ID_PCM_S16LE;
    stream->codecpar->sample_rate = 8000;
    ff::av_channel_layout_default(&stream->codecpar->ch_layout, 1);
    stream->time_base = AVRational{1, 8000};
    ASSERT_EQ(OpenOutputIO(&out->pb, libraryName, AVIO_FLAG_WRITE), 0);
    ASSERT_GE(ff::avformat_write_header(out.get(), nullptr), 0);
    constexpr int kChunk = 800;
    for (int first = 0; first < samples; first += kChunk) {
        const int count = std::min(kChunk, samples - first);
        AVPacket* packet = ff::av_packet_alloc();
        ASSERT_GE(ff::av_new_packet(packet, count * 2), 0);
        for (int i = 0; i < count; ++i) {
            const int16_t value = static_cast<int16_t>((first + i) * 7);
            packet->data[2 * i] = static_cast<uint8_t>(value & 0xff);
            packet->data[2 * i + 1] = static_cast<uint8_t>((value >> 8) & 0xff);
        }
        packet->pts = packet->dts = first;
        packet->duration = count;
        packet->stream_index = 0;
        const int written = ff::av_write_frame(out.get(), packet);
        ff::av_packet_free(&packet);
        ASSERT_GE(written, 0);
    }
    ASSERT_EQ(ff::av_write_trailer(out.get()), 0);
    ASSERT_EQ(CloseOutputIO(&out->pb), 0);
    EXPECT_EQ(out->pb, nullptr);
}

// Reads every packet of an input and returns the payload bytes seen.
int64_t ReadAllPackets(AVFormatContext* input) {
    int64_t bytes = 0;
    AVPacket* packet = ff::av_packet_alloc();
    while (ff::av_read_frame(input, packet) >= 0) {
        bytes += packet->size;
        ff::av_packet_unref(packet);
    }
    ff::av_packet_free(&packet);
    return bytes;
}

TEST_F(UnicodeFileIO, RegisteringAgainChangesNothing) {
    RegisterUnicodeProtocol();
    RegisterUnicodeProtocol();
    EXPECT_TRUE(IsUnicodeProtocolRegistered());
    const std::string path = PathOf(kJapanese + ".bin");
    WriteBytes(path, "abc");
    AVIOContext* pb = nullptr;
    ASSERT_EQ(OpenOutputIO(&pb, ToLibraryName(path), AVIO_FLAG_READ), 0);
    EXPECT_TRUE(IsUnicodeIO(pb));
    EXPECT_EQ(CloseOutputIO(&pb), 0);
}

TEST_F(UnicodeFileIO, SizeQueryOfAFiveByteFileIsFive) {
    const std::string path = PathOf(kAccented + ".txt");
    WriteBytes(path, "hello");
    AVIOContext* pb = nullptr;
    ASSERT_EQ(OpenOutputIO(&pb, ToLibraryName(path), AVIO_FLAG_READ), 0);
    EXPECT_EQ(ff::avio_size(pb), 5);
    unsigned char text[16] = {};
    EXPECT_EQ(ff::avio_read(pb, text, sizeof text), 5);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 5), "hello");
    EXPECT_EQ(ff::avio_read(pb, text, sizeof text), AVERROR_EOF);
    EXPECT_EQ(ff::avio_seek(pb, 1, SEEK_SET), 1);
    EXPECT_EQ(ff::avio_read(pb, text, 2), 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 2), "el");
    EXPECT_EQ(CloseOutputIO(&pb), 0);
}

TEST_F(UnicodeFileIO, MissingFileGivesNoSuchFile) {
    const std::string name = ToLibraryName(PathOf(kAccented + "-missing.wav"));
    ASSERT_TRUE(IsUnicodeProtocolName(name));
    AVFormatContext* input = nullptr;
    EXPECT_EQ(OpenInputFile(&input, name, nullptr, nullptr), AVERROR(ENOENT));
    EXPECT_EQ(input, nullptr);
    AVIOContext* pb = nullptr;
    EXPECT_EQ(OpenOutputIO(&pb, name, AVIO_FLAG_READ), AVERROR(ENOENT));
    EXPECT_EQ(pb, nullptr);
}

TEST_F(UnicodeFileIO, FailedOpenFreesACallersContext) {
    AVFormatContext* input = ff::avformat_alloc_context();
    EXPECT_EQ(OpenInputFile(&input, ToLibraryName(PathOf(kJapanese)), nullptr, nullptr), AVERROR(ENOENT));
    EXPECT_EQ(input, nullptr);  // and the leak checker sees nothing left behind
}

TEST_F(UnicodeFileIO, UnrecognisedContentFailsWithoutLeaking) {
    const std::string path = PathOf(kJapanese + ".xyz");
    WriteBytes(path, std::string(4096, '\x01'));
    AVFormatContext* input = nullptr;
    EXPECT_LT(OpenInputFile(&input, ToLibraryName(path), nullptr, nullptr), 0);
    EXPECT_EQ(input, nullptr);
}

TEST_F(UnicodeFileIO, OutputOfANonAsciiNameIsCreatedAndReadsBackWhole) {
    const std::string path = PathOf(kAccented + "-" + kJapanese + ".wav");
    const std::string name = ToLibraryName(path);
    ASSERT_TRUE(IsUnicodeProtocolName(name));
    constexpr int kSamples = 8000;
    WriteWav(name, kSamples);
    ASSERT_TRUE(fs::exists(fs::path(path)));
    EXPECT_GT(FileSize(path), static_cast<std::uintmax_t>(2 * kSamples));

    InputFilePtr input;
    {
        AVFormatContext* raw = nullptr;
        ASSERT_EQ(OpenInputFile(&raw, name, nullptr, nullptr), 0);
        input.reset(raw);
    }
    EXPECT_TRUE(IsUnicodeIO(input->pb));
    EXPECT_STREQ(input->iformat->name, "wav");
    EXPECT_EQ(FromLibraryName(input->url), path);
    ASSERT_GE(ff::avformat_find_stream_info(input.get(), nullptr), 0);
    EXPECT_EQ(input->streams[0]->codecpar->sample_rate, 8000);
    EXPECT_EQ(ReadAllPackets(input.get()), 2 * kSamples);
    // The header was patched after the data through a seek: the stored size is right.
    EXPECT_EQ(input->duration, AV_TIME_BASE);
}

// Counts the packets of each stream kind of an opened input.
struct TPacketCounts {
    int Video = 0, Audio = 0;
    int64_t Bytes = 0;
};

TPacketCounts CountPackets(AVFormatContext* input) {
    TPacketCounts counts;
    AVPacket* packet = ff::av_packet_alloc();
    while (ff::av_read_frame(input, packet) >= 0) {
        const AVMediaType kind = input->streams[packet->stream_index]->codecpar->codec_type;
        counts.Video += kind == AVMEDIA_TYPE_VIDEO;
        counts.Audio += kind == AVMEDIA_TYPE_AUDIO;
        counts.Bytes += packet->size;
        ff::av_packet_unref(packet);
    }
    ff::av_packet_free(&packet);
    return counts;
}

TPacketCounts OpenAndCount(const std::string& libraryName) {
    AVFormatContext* raw = nullptr;
    const int opened = OpenInputFile(&raw, libraryName, nullptr, nullptr);
    EXPECT_EQ(opened, 0) << libraryName;
    if (opened < 0) return {};
    InputFilePtr input(raw);
    EXPECT_GE(ff::avformat_find_stream_info(input.get(), nullptr), 0);
    return CountPackets(input.get());
}

TEST_F(UnicodeFileIO, GeneratedClipsUnderNonAsciiNamesReadWhole) {
    for (const char* format : {"flv", "mp4"}) {
        testmedia::ClipSpec spec;
        spec.format = format;
        spec.duration = 1.0;
        spec.width = 160;
        spec.height = 120;
        const std::string clip = testmedia::Clip(spec);
        const std::string copy = PathOf(kJapanese + "-" + kAccented + "." + format);
        fs::copy_file(fs::path(clip), fs::path(copy));

        const TPacketCounts plain = OpenAndCount(ToLibraryName(clip));
        ASSERT_TRUE(IsUnicodeProtocolName(ToLibraryName(copy)));
        const TPacketCounts unicode = OpenAndCount(ToLibraryName(copy));
        EXPECT_EQ(plain.Video, 25) << format;
        EXPECT_GT(plain.Audio, 0) << format;
        EXPECT_EQ(unicode.Video, plain.Video) << format;
        EXPECT_EQ(unicode.Audio, plain.Audio) << format;
        EXPECT_EQ(unicode.Bytes, plain.Bytes) << format;
    }
}

TEST_F(UnicodeFileIO, WritingTruncatesAnExistingFile) {
    const std::string path = PathOf(kAccented + ".raw");
    WriteBytes(path, std::string(1000, 'x'));
    for (int flags : {AVIO_FLAG_WRITE, AVIO_FLAG_READ_WRITE}) {
        AVIOContext* pb = nullptr;
        ASSERT_EQ(OpenOutputIO(&pb, ToLibraryName(path), flags), 0);
        const unsigned char bytes[3] = {1, 2, 3};
        ff::avio_write(pb, bytes, 3);
        EXPECT_EQ(CloseOutputIO(&pb), 0);
        EXPECT_EQ(FileSize(path), 3u);
    }
}

TEST_F(UnicodeFileIO, PlainNamesUseTheLibrariesOwnFileProtocol) {
    const std::string path = PathOf("plain.wav");
    WriteWav(ToLibraryName(path), 800);
    InputFilePtr input;
    AVFormatContext* raw = nullptr;
    ASSERT_EQ(OpenInputFile(&raw, ToLibraryName(path), nullptr, nullptr), 0);
    input.reset(raw);
    EXPECT_FALSE(IsUnicodeIO(input->pb));
    EXPECT_EQ(ReadAllPackets(input.get()), 1600);
}

TEST_F(UnicodeFileIO, Utf8LocaleOpensTheSameNamesDirectly) {
    const std::string path = PathOf(kJapanese + ".wav");
    WriteWav(ToLibraryName(path), 800);  // written through the unicode form (C locale)
    TScopedLocale utf8("C.UTF-8");
    ASSERT_TRUE(utf8.Active());
    const std::string name = ToLibraryName(path);
    ASSERT_EQ(name, path);
    AVFormatContext* raw = nullptr;
    ASSERT_EQ(OpenInputFile(&raw, name, nullptr, nullptr), 0);
    InputFilePtr input(raw);
    EXPECT_FALSE(IsUnicodeIO(input->pb));
    EXPECT_EQ(ReadAllPackets(input.get()), 1600);
}

}  // namespace
