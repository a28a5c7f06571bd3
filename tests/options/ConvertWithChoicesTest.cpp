// Records built from a profile's defaults and a probed generated clip, converted by the engine
// and read back with the probe: what the choices asked for is what the output has.
#include "ChoicesFixture.h"

#include "TestMedia.h"
#include "engine/core/CustomFFmpeg.h"
#include "engine/core/FFmpegException.h"
#include "engine/frame/AVProbe.h"
#include "engine/frame/FFmpegLoader.h"
#include "profiles/options/ProfileChoices.h"
#include "profiles/options/SourceFromProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrova::test {
namespace {

// An MP4 profile whose defaults keep the source's size, rate and bit rate.
const QByteArray kVideoProfile = R"(<?xml version="1.0" encoding="utf-8"?>
<profile>
  <Main><extensionname Value="mp4"/><fileformat Value="mp4"/><targetprofile Value=""/></Main>
  <Parameter>
    <videosize CandidatesValue="Auto - Original,160x120 - qqvga" DefaultValue="Auto - Original"/>
    <videobitrate CandidatesValue="Auto,512" DefaultValue="Auto"/>
    <videoframerate CandidatesValue="Auto,25" DefaultValue="Auto"/>
    <videoaspectratio CandidatesValue="Auto,4:3" DefaultValue="Auto"/>
    <videocodec CandidatesValue="MPEG4" DefaultValue="MPEG4"/>
    <audiochannel CandidatesValue="1,2" DefaultValue="1"/>
    <audiobitrate CandidatesValue="64,128" DefaultValue="64"/>
    <audiosamplerate CandidatesValue="22050,44100" DefaultValue="22050"/>
    <audiovolume CandidatesValue="100" DefaultValue="100"/>
    <audiocodec CandidatesValue="AAC" DefaultValue="AAC"/>
    <disablevideo DefaultValue="false"/>
  </Parameter>
</profile>
)";

// An MP3 profile: audio only by its extension, with a video size that would apply otherwise.
const QByteArray kAudioProfile = R"(<?xml version="1.0" encoding="utf-8"?>
<profile>
  <Main><extensionname Value="mp3"/><fileformat Value="mp3"/></Main>
  <Parameter>
    <videosize CandidatesValue="Auto - Original" DefaultValue="Auto - Original"/>
    <videoframerate CandidatesValue="Auto" DefaultValue="Auto"/>
    <audiochannel CandidatesValue="Auto,2" DefaultValue="Auto"/>
    <audiobitrate CandidatesValue="128" DefaultValue="128"/>
    <audiosamplerate CandidatesValue="44100" DefaultValue="44100"/>
    <audiovolume CandidatesValue="Auto,100" DefaultValue="Auto"/>
    <audiocodec CandidatesValue="libmp3lame" DefaultValue="libmp3lame"/>
    <disablevideo DefaultValue="false"/>
  </Parameter>
</profile>
)";

class ConvertWithChoicesTest : public ChoicesTest {
protected:
    static testmedia::ClipSpec FlvSpec() {
        testmedia::ClipSpec spec;
        spec.format = "flv";
        spec.duration = 3;
        return spec;
    }

    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }

    // A probed 3-second clip (by default a 320x240 FLV at 25 frames per second with stereo
    // audio) and the profile's defaults, output into a folder named in other scripts.
    void Prepare(const QByteArray& profile, testmedia::ClipSpec spec = FlvSpec()) {
        ASSERT_TRUE(FProbe.LoadFile(testmedia::Clip(spec))) << FProbe.LastErrMsg();
        Choices.Source = SourceFromProbe(FProbe);
        WriteFile("profile.xml", profile);
        TProfileDocument document;
        ASSERT_TRUE(document.Load(Path("profile.xml")));
        ASSERT_TRUE(FillChoicesFromProfile(document, {}, Choices));
        Choices.OutputFolder = Path("вывод");
        ASSERT_TRUE(QDir().mkpath(Choices.OutputFolder));
    }

    // Converts with the records built from the choices; the output's path, or "" with the
    // failure recorded.
    std::string Convert() {
        TInputOptions input = BuildInputOptions(Choices);
        TOutputOptions output = BuildOutputOptions(Choices);
        TCustomFFmpeg job;
        try {
            ApplyInputOptions(job, input, input.FileName);
            if (!job.AddInputFile(input.FileName)) {
                ADD_FAILURE() << job.LastError();
                return {};
            }
            ApplyOutputOptions(job, output, output.FileName);
            if (job.AddOutputFile(output.FileName, output.Join) <= 0) {
                ADD_FAILURE() << job.LastError();
                return {};
            }
            ApplyOutputOptionsAfterAdd(job, output);
        } catch (const FFmpegException& error) {
            ADD_FAILURE() << error.what();
            return {};
        }
        job.StartConvert(false);
        if (!job.RunState().FinishedNormally) {
            ADD_FAILURE() << job.LastError() << job.RunState().FailureText;
            return {};
        }
        return output.FileName;
    }

    TAVProbe FProbe;
};

TEST_F(ConvertWithChoicesTest, ProfileDefaultsAndTrimReachTheOutput) {
    Prepare(kVideoProfile);
    Choices.Trim = TTrimChoice{true, 500'000, 2'000'000};
    const std::string output = Convert();
    ASSERT_EQ(output, BytePath("вывод/" +
                               QFileInfo(QString::fromStdString(Choices.Source.FileName)).completeBaseName() +
                               "_(new).mp4"));

    TAVProbe result;
    ASSERT_TRUE(result.LoadFile(output)) << result.LastErrMsg();
    const TVideoStreamInfo video = result.GetVideoStreamInfo();
    EXPECT_EQ(video.Width, 320);
    EXPECT_EQ(video.Height, 240);
    EXPECT_EQ(video.FrameRateNum * Choices.Source.Video.FrameRateDen,
              Choices.Source.Video.FrameRateNum * video.FrameRateDen);
    const TAudioStreamInfo audio = result.GetAudioStreamInfo();
    EXPECT_EQ(audio.SampleRate, 22050);
    EXPECT_EQ(audio.Channels, 1);
    EXPECT_NEAR(result.GetFileStreamInfo().Duration, 1'500'000, 200'000);
    // The first picture is the one half a second into the source.
    ASSERT_TRUE(result.DecodeNextFrame());
    const AVFrame* picture = result.PictureFrame();
    EXPECT_NEAR(testmedia::FrameNumberFromPicture(picture->data[0], picture->linesize[0], picture->width,
                                                  picture->height),
                12, 1);
}

TEST_F(ConvertWithChoicesTest, AudioOnlyTargetHasNoVideo) {
    Prepare(kAudioProfile);
    const std::string output = Convert();
    ASSERT_FALSE(output.empty());
    TAVProbe result;
    ASSERT_TRUE(result.LoadFile(output)) << result.LastErrMsg();
    EXPECT_EQ(result.VideoStreamCount(), 0);
    ASSERT_EQ(result.AudioStreamCount(), 1);
    EXPECT_EQ(result.GetAudioStreamInfo().Channels, 2);  // "Auto": the source's
}

TEST_F(ConvertWithChoicesTest, AudioSourceConvertsWithAVideoProfile) {
    testmedia::ClipSpec spec;
    spec.format = "mp3";
    spec.duration = 2;
    spec.video = false;
    Prepare(kVideoProfile, spec);
    const std::string output = Convert();
    ASSERT_FALSE(output.empty());
    TAVProbe result;
    ASSERT_TRUE(result.LoadFile(output)) << result.LastErrMsg();
    EXPECT_EQ(result.VideoStreamCount(), 0);
    EXPECT_EQ(result.AudioStreamCount(), 1);
}

TEST_F(ConvertWithChoicesTest, EveryFilterIsAcceptedByTheLibraries) {
    Prepare(kVideoProfile);
    Choices.Filters.VertFlip = Choices.Filters.HoriFlip = Choices.Filters.Negate = true;
    Choices.Filters.Scale = Choices.Filters.Rotate = Choices.Filters.SetPts = true;
    Choices.Filters.ScaleText = "160:120";
    const std::string output = Convert();
    ASSERT_FALSE(output.empty());
    TAVProbe result;
    ASSERT_TRUE(result.LoadFile(output)) << result.LastErrMsg();
    const TVideoStreamInfo video = result.GetVideoStreamInfo();
    EXPECT_EQ(video.Width, 160);
    EXPECT_EQ(video.Height, 120);
}

TEST_F(ConvertWithChoicesTest, CropAndPadBandsReachTheEngine) {
    Prepare(kVideoProfile);
    Choices.CropPad = TCropPadChoices{true, TBands{8, 8, 16, 16}, true, TBands{0, 0, 8, 8}};
    const std::string output = Convert();
    ASSERT_FALSE(output.empty());
    TAVProbe result;
    ASSERT_TRUE(result.LoadFile(output)) << result.LastErrMsg();
    const TVideoStreamInfo video = result.GetVideoStreamInfo();
    EXPECT_EQ(video.Width, 320 - 16 - 16 + 8 + 8);
    EXPECT_EQ(video.Height, 240 - 8 - 8);
}

struct TNormCase {
    TNorm Norm;
    int Height;
    double FrameRate;
};

class DiscNormTest : public ConvertWithChoicesTest, public ::testing::WithParamInterface<TNormCase> {};

// The norm chooses the disc's picture: the profile's own under its own norm, the target
// preset's under the other one, and under "Auto" the one of the source's rate (25: PAL).
TEST_P(DiscNormTest, TheNormChoosesTheTargetPresetsPicture) {
    QFile vcdNtsc(QStringLiteral(KESTROVA_PROFILE_DIR "vcd_ntsc.xml"));
    ASSERT_TRUE(vcdNtsc.open(QIODevice::ReadOnly));
    Prepare(vcdNtsc.readAll());
    Choices.Norm = GetParam().Norm;
    const std::string output = Convert();
    ASSERT_FALSE(output.empty());
    TAVProbe result;
    ASSERT_TRUE(result.LoadFile(output)) << result.LastErrMsg();
    const TVideoStreamInfo video = result.GetVideoStreamInfo();
    EXPECT_EQ(video.Width, 352);
    EXPECT_EQ(video.Height, GetParam().Height);
    EXPECT_NEAR(static_cast<double>(video.FrameRateNum) / video.FrameRateDen, GetParam().FrameRate, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Norms, DiscNormTest,
                         ::testing::Values(TNormCase{TNorm::Ntsc, 240, 29.97}, TNormCase{TNorm::Pal, 288, 25},
                                           TNormCase{TNorm::Auto, 288, 25}));

}  // namespace
}  // namespace kestrova::test
