// The media probe on generated clips: what it reports of each kind of file, the messages of
// files it cannot open, and seeking and decoding into pictures.
#include "engine/frame/AVProbe.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/UnicodeProtocol.h"

#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kestrova {
namespace {

using testmedia::ClipSpec;

std::string MakeClip(const std::string& format, bool video = true, bool audio = true) {
    ClipSpec spec;
    spec.format = format;
    spec.duration = 2;
    spec.width = 160;
    spec.height = 120;
    spec.video = video;
    spec.audio = audio;
    return testmedia::Clip(spec);
}

class ProbeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }

    // The frame number drawn into the current picture.
    int PictureNumber() const {
        const AVFrame* frame = probe.PictureFrame();
        return testmedia::FrameNumberFromPicture(frame->data[0], frame->linesize[0], frame->width,
                                                 frame->height);
    }

    TAVProbe probe;
};

struct TKindCase {
    std::string Format;
    bool Video;
    bool Audio;
    float Aspect = -1;  // FLV stores no sample aspect: the display aspect is unknown
};

class ProbeKindTest : public ProbeTest, public ::testing::WithParamInterface<TKindCase> {};

TEST_P(ProbeKindTest, ReportsDurationSizeAndStreams) {
    const TKindCase& kind = GetParam();
    const std::string path = MakeClip(kind.Format, kind.Video, kind.Audio);
    ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg();

    EXPECT_EQ(probe.FileName(), path);
    EXPECT_EQ(probe.FileSize(), static_cast<int64_t>(std::filesystem::file_size(path)));
    EXPECT_EQ(probe.VideoStreamCount(), kind.Video ? 1 : 0);
    EXPECT_EQ(probe.AudioStreamCount(), kind.Audio ? 1 : 0);
    EXPECT_EQ(probe.StreamCount(), int(kind.Video) + int(kind.Audio));
    // Within one video frame (or one compressed audio frame) of the two seconds made.
    EXPECT_NEAR(probe.GetFileStreamInfo().Duration, 2000000, 50000);

    if (kind.Video) {
        const TVideoStreamInfo video = probe.GetVideoStreamInfo();
        EXPECT_EQ(video.Width, 160);
        EXPECT_EQ(video.Height, 120);
        EXPECT_EQ(video.FrameRateNum / video.FrameRateDen, 25);
        EXPECT_NEAR(video.AspectRatio, kind.Aspect, 0.01);
        EXPECT_FALSE(video.CodecName.empty());
    }
    if (kind.Audio) {
        const TAudioStreamInfo audio = probe.GetAudioStreamInfo();
        EXPECT_EQ(audio.SampleRate, 44100);
        EXPECT_EQ(audio.Channels, 2);
        EXPECT_GE(audio.SampleFormat, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProbeKindTest,
                         ::testing::Values(TKindCase{"flv", true, true},
                                           TKindCase{"mp4", true, true, 4.0f / 3},
                                           TKindCase{"mp4-mpeg4", true, false, 4.0f / 3},
                                           TKindCase{"mp3", false, true}, TKindCase{"wma", false, true},
                                           TKindCase{"wav", false, true}),
                         [](const auto& info) {
                             std::string name = info.param.Format;
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(ProbeTest, AudioOnlyFileHasNoVideoStream) {
    ASSERT_TRUE(probe.LoadFile(MakeClip("mp3", false, true)));
    const TVideoStreamInfo video = probe.GetVideoStreamInfo(-1);
    EXPECT_EQ(probe.LastErrMsg(), "no video stream.");
    EXPECT_EQ(video.Width, -1);
    EXPECT_EQ(video.DurationUS, -1);
    EXPECT_TRUE(video.CodecName.empty());
    EXPECT_FALSE(probe.DecodeNextFrame());
    EXPECT_EQ(probe.LastErrMsg(), "no video stream.");
}

TEST_F(ProbeTest, FilesThatCannotBeOpenedGiveTheirMessages) {
    const std::string missing = testmedia::TempDir("probe_missing") + "/none.mp4";
    EXPECT_FALSE(probe.LoadFile(missing));
    EXPECT_EQ(probe.LastErrMsg(), missing + ": no such file or directory");

    ClipSpec garbage;
    garbage.format = "mp4";
    garbage.duration = 1;
    garbage.damage = "garbage";
    const std::string damaged = testmedia::Clip(garbage);
    EXPECT_FALSE(probe.LoadFile(damaged));
    EXPECT_EQ(probe.LastErrMsg(), damaged + ": Unknown format");
    EXPECT_EQ(probe.StreamCount(), -1);

    EXPECT_FALSE(probe.LoadFile(MakeClip("flv"), "no-such-format"));
    EXPECT_EQ(probe.LastErrMsg(), "Unknown input format: no-such-format");
}

TEST_F(ProbeTest, NamesWithoutAFileSayTheFileIsNotLoaded) {
    TAVProbe unopened, unnamed;
    EXPECT_EQ(unopened.FileName() + unnamed.FormatShortName(), "");
    EXPECT_EQ(unopened.LastErrMsg() + "|" + unnamed.LastErrMsg(), "file not loaded.|file not loaded.");
}

TEST_F(ProbeTest, ClosedProbeAnswersEmpty) {
    ASSERT_TRUE(probe.LoadFile(MakeClip("flv")));
    probe.CloseFile();
    EXPECT_EQ(probe.StreamCount(), -1);
    EXPECT_EQ(probe.FileSize(), -1);
    EXPECT_EQ(probe.GetFileStreamInfo().Duration, -1);
    EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");
    EXPECT_FALSE(probe.Seek(0, 0));
}

TEST_F(ProbeTest, SeekThenDecodeGivesThePictureAtThatTime) {
    ASSERT_TRUE(probe.LoadFile(MakeClip("mp4")));
    ASSERT_TRUE(probe.Seek(0, 1000000)) << probe.LastErrMsg();
    ASSERT_TRUE(probe.DecodeNextFrame()) << probe.LastErrMsg();
    EXPECT_NEAR(PictureNumber(), 25, 1);
    EXPECT_NEAR(probe.Picture().Pts, 1000000, 40000);
    ASSERT_TRUE(probe.DecodeNextFrame());
    EXPECT_NEAR(PictureNumber(), 26, 1);

    // Back to the start: the first picture again.
    ASSERT_TRUE(probe.Seek(0, 0));
    ASSERT_TRUE(probe.DecodeNextFrame());
    EXPECT_EQ(PictureNumber(), 0);

    TEngineBitmap bitmap;
    ASSERT_TRUE(probe.PictureToBitmap(bitmap));
    EXPECT_EQ(bitmap.Width(), 160);
    EXPECT_EQ(bitmap.Height(), 120);
    EXPECT_EQ(bitmap.BytesPerLine(), 480);
}

TEST_F(ProbeTest, DecodingToTheEndGivesEveryPictureThenEndOfStream) {
    // H.264 holds pictures back for reordering: the last ones come out after the last packet.
    ASSERT_TRUE(probe.LoadFile(MakeClip("mp4")));
    int pictures = 0;
    int last = -1;
    while (probe.DecodeNextFrame()) {
        ++pictures;
        last = PictureNumber();
    }
    EXPECT_EQ(pictures, 50);
    EXPECT_EQ(last, 49);
    // The last picture was drained from the decoder: no packet stands behind it.
    EXPECT_EQ(probe.Picture().PacketDts, AV_NOPTS_VALUE);
    EXPECT_EQ(probe.Picture().PacketPos, -1);
    EXPECT_EQ(probe.LastErrMsg(), "stream eof reached.");
    EXPECT_FALSE(probe.DecodeNextFrame());
}

// A single JPEG opens as a pipe format of one picture: it decodes once, gives the same picture
// again, and is never sought.
TEST_F(ProbeTest, AStillImageKeepsItsOnePictureAndIsNotSought) {
    ASSERT_TRUE(probe.LoadFile(MakeClip("jpg", true, false)));
    EXPECT_EQ(probe.FormatShortName(), "jpeg_pipe");
    ASSERT_TRUE(probe.DecodeNextFrame()) << probe.LastErrMsg();
    EXPECT_TRUE(probe.DecodeNextFrame()) << probe.LastErrMsg();
    EXPECT_FALSE(probe.Seek(0, 0));
    EXPECT_EQ(probe.LastErrMsg(), "\"image2\" format cannot to be seeked.");
    EXPECT_TRUE(probe.DecodeNextFrame()) << probe.LastErrMsg();
}

TEST_F(ProbeTest, PictureToBitmapNeedsADecodedPicture) {
    ASSERT_TRUE(probe.LoadFile(MakeClip("flv")));
    TEngineBitmap bitmap;
    EXPECT_FALSE(probe.PictureToBitmap(bitmap));
    EXPECT_EQ(probe.LastErrMsg(), "picture not ready, please decode first");
}

TEST_F(ProbeTest, AdoptedInputIsReadButNeverSought) {
    AVFormatContext* raw = nullptr;
    const std::string path = MakeClip("mp4");
    ASSERT_EQ(OpenInputFile(&raw, ToLibraryName(path), nullptr, nullptr), 0);
    InputFilePtr input(raw);
    ASSERT_GE(ff::avformat_find_stream_info(raw, nullptr), 0);

    probe.AttachContext(raw);
    EXPECT_EQ(probe.StreamCount(), 2);
    EXPECT_EQ(probe.GetVideoStreamInfo().Width, 160);
    EXPECT_THROW(probe.Seek(0, 0), EProbeError);
    EXPECT_THROW(probe.DecodeNextFrame(), EProbeError);
    probe.CloseFile();  // forgets the input without closing it
    EXPECT_EQ(raw->nb_streams, 2u);
}

TEST_F(ProbeTest, MissingLibraryIsRaised) {
    TFFmpegLoader::Instance().Unload(libSWScale);
    try {
        probe.LoadFile(MakeClip("flv"));
        ADD_FAILURE() << "no exception";
    } catch (const EProbeError& error) {
        EXPECT_STREQ(error.what(), "LibSwScale not loaded.");
    }
    ASSERT_TRUE(LoadMediaLibraries());
}

}  // namespace
}  // namespace kestrova
