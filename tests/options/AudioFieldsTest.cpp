// The audio fields of the output record, from the items chosen for the audio parameters.
#include "ChoicesFixture.h"

namespace kestrova::test {
namespace {

using AudioFieldsTest = ChoicesTest;

struct TNumberCase {
    TParameter Parameter;
    std::optional<const char*> Item;  // nullopt: nothing selected
    int32_t TOutputOptions::*Field;
    int32_t Expected;
};

TEST_F(AudioFieldsTest, NumbersFollowTheirItems) {
    // The source's audio stream runs at 96000 bit/s.
    const TNumberCase cases[] = {
            {TParameter::AudioChannels, "2", &TOutputOptions::AudioChannels, 2},
            {TParameter::AudioChannels, "6 (5.1)", &TOutputOptions::AudioChannels, 6},
            {TParameter::AudioChannels, "Auto", &TOutputOptions::AudioChannels,
             0},  // the engine keeps the source's
            {TParameter::AudioChannels, "Mono", &TOutputOptions::AudioChannels, 1},
            {TParameter::AudioChannels, "STEREO", &TOutputOptions::AudioChannels, 2},
            {TParameter::AudioChannels, std::nullopt, &TOutputOptions::AudioChannels, -1},

            {TParameter::AudioSampleRate, "44100", &TOutputOptions::AudioSampleRate, 44100},
            {TParameter::AudioSampleRate, " 32000", &TOutputOptions::AudioSampleRate, 32000},
            {TParameter::AudioSampleRate, "Auto", &TOutputOptions::AudioSampleRate, 22050},
            {TParameter::AudioSampleRate, "48000Hz", &TOutputOptions::AudioSampleRate, 22050},
            {TParameter::AudioSampleRate, "", &TOutputOptions::AudioSampleRate, 22050},
            {TParameter::AudioSampleRate, "99999999999", &TOutputOptions::AudioSampleRate, 22050},
            {TParameter::AudioSampleRate, std::nullopt, &TOutputOptions::AudioSampleRate, -1},

            {TParameter::AudioVolume, "100", &TOutputOptions::Volume, 256},
            {TParameter::AudioVolume, "50", &TOutputOptions::Volume, 128},
            {TParameter::AudioVolume, "1", &TOutputOptions::Volume, 3},  // 2.56
            {TParameter::AudioVolume, "3", &TOutputOptions::Volume, 8},  // 7.68
            {TParameter::AudioVolume, "150", &TOutputOptions::Volume, 384},
            {TParameter::AudioVolume, "33", &TOutputOptions::Volume, 84},  // 84.48
            {TParameter::AudioVolume, "-10", &TOutputOptions::Volume,
             -26},  // -25.6, and the engine ignores it
            {TParameter::AudioVolume, "200%", &TOutputOptions::Volume, 512},
            {TParameter::AudioVolume, "0", &TOutputOptions::Volume, 0},      // silence is a choice
            {TParameter::AudioVolume, "Auto", &TOutputOptions::Volume, -1},  // no number: audio unchanged
            {TParameter::AudioVolume, "99999999999", &TOutputOptions::Volume, -1},
            {TParameter::AudioVolume, std::nullopt, &TOutputOptions::Volume, -1},

            {TParameter::AudioBitrate, "128", &TOutputOptions::AudioBitrate, 128000},
            {TParameter::AudioBitrate, "96.5", &TOutputOptions::AudioBitrate, 96500},
            {TParameter::AudioBitrate, "0.0019", &TOutputOptions::AudioBitrate, 1},
            {TParameter::AudioBitrate, " 64 ", &TOutputOptions::AudioBitrate, 64000},
            {TParameter::AudioBitrate, "Auto", &TOutputOptions::AudioBitrate, 64000},
            {TParameter::AudioBitrate, "128k", &TOutputOptions::AudioBitrate, 64000},
            {TParameter::AudioBitrate, "nan", &TOutputOptions::AudioBitrate, 64000},
            {TParameter::AudioBitrate, "9999999", &TOutputOptions::AudioBitrate, 64000},
            {TParameter::AudioBitrate, std::nullopt, &TOutputOptions::AudioBitrate, 96000},
    };
    for (const TNumberCase& c : cases) {
        SCOPED_TRACE(CaseName(c.Parameter, c.Item));
        EXPECT_EQ(BuildOutputOptions(With(c.Parameter, c.Item)).*c.Field, c.Expected);
    }
}

TEST_F(AudioFieldsTest, AudioBitrateOfAnUnselectedItemIsTheSourcesEvenWhenUnknown) {
    Choices.Source.Audio.BitRate = -1;
    EXPECT_EQ(Build().AudioBitrate, -1);
}

TEST_F(AudioFieldsTest, CodecIsTheItemInLowerCase) {
    const std::pair<std::optional<const char*>, const char*> cases[] = {
            {"AAC", "aac"}, {"libMP3lame", "libmp3lame"}, {"", ""}, {std::nullopt, ""}};
    for (const auto& [item, codec] : cases) {
        SCOPED_TRACE(item.value_or("<none>"));
        const TOutputOptions options = BuildOutputOptions(With(TParameter::AudioCodec, item));
        EXPECT_EQ(options.AudioCodec, codec);
        EXPECT_EQ(options.AudioPreset, "");
    }
}

}  // namespace
}  // namespace kestrova::test
