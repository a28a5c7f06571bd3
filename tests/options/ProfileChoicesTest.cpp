// A row's choices filled from profile files the test writes: the candidate lists, the items
// the defaults select, and parameters set by name as the command line does.
#include "ChoicesFixture.h"

#include "profiles/options/ProfileChoices.h"

namespace kestrova::test {
namespace {

const QByteArray kPhoneProfile = R"(<?xml version="1.0" encoding="utf-8"?>
<profile>
  <Main>
    <extensionname Value=" MP4,m4v "/>
    <fileformat Value="mp4"/>
    <targetprofile Value="psp"/>
  </Main>
  <Parameter>
    <videosize CandidatesValue="Auto - Original,320x240 - qvga,640x480 - vga" DefaultValue="320X240 - QVGA"/>
    <videobitrate CandidatesValue="256,512,768" DefaultValue="1000"/>
    <videoframerate CandidatesValue="Auto,25,29.97" DefaultValue="auto"/>
    <videoaspectratio CandidatesValue="Auto,4:3,16:9" DefaultValue="4:3"/>
    <videocodec CandidatesValue="MPEG4,libx264" DefaultValue="libx264"/>
    <audiochannel CandidatesValue="1,2" DefaultValue="2"/>
    <audiobitrate CandidatesValue="64,,128" DefaultValue=""/>
    <audiosamplerate CandidatesValue="22050,44100" DefaultValue="44100"/>
    <audiovolume CandidatesValue="50,100,200" DefaultValue="100"/>
    <audiocodec CandidatesValue="AAC,mp3" DefaultValue="aac"/>
    <disablevideo DefaultValue="no"/>
    <normtype CandidatesValue="Auto,PAL,NTSC" DefaultValue="pal"/>
  </Parameter>
</profile>
)";

class ProfileChoicesTest : public ChoicesTest {
protected:
    TProfileDocument Load(const QByteArray& content) {
        WriteFile("profile.xml", content);
        TProfileDocument document;
        EXPECT_TRUE(document.Load(Path("profile.xml")));
        return document;
    }

    TOptionChoices Filled(const QByteArray& content, const TParameterOverrides& overrides = {}) {
        TOptionChoices choices = Choices;
        QString error;
        EXPECT_TRUE(FillChoicesFromProfile(Load(content), overrides, choices, &error)) << error.toStdString();
        return choices;
    }
};

TEST_F(ProfileChoicesTest, ListsOfferTheCandidatesAndTheDefaultSelectsOne) {
    const TProfileDocument document = Load(kPhoneProfile);
    const std::tuple<const char*, QStringList, int> cases[] = {
            {"videosize", {"Auto - Original", "320x240 - qvga", "640x480 - vga"}, 1},  // letter case ignored
            {"videobitrate", {"256", "512", "768"}, -1},                               // not a candidate
            {"audiobitrate", {"64", "", "128"}, 1},                                    // the empty item
            {"normtype", {"Auto", "PAL", "NTSC"}, 1},
            {"disablevideo", {""}, -1},  // no candidates: one empty item, and "no" is not it
            {"absent", {""}, 0},         // empty default, one empty item
    };
    for (const auto& [name, items, selected] : cases) {
        SCOPED_TRACE(name);
        const TParameterList list = ReadParameterList(document, name);
        EXPECT_EQ(list.Items, items);
        EXPECT_EQ(list.Selected, selected);
    }
}

TEST_F(ProfileChoicesTest, DefaultsFillTheProfilePartOfTheChoices) {
    const TOptionChoices choices = Filled(kPhoneProfile);
    EXPECT_EQ(choices.ProfileFormat, "mp4");
    EXPECT_EQ(choices.TargetProfile, "psp");
    EXPECT_EQ(choices.Extension, "MP4");
    EXPECT_FALSE(choices.AudioOnlyTarget);
    EXPECT_EQ(choices.Norm, TNorm::Pal);
    const std::pair<TParameter, std::optional<QString>> selections[] = {
            {TParameter::VideoSize, "320x240 - qvga"},
            {TParameter::VideoBitrate, std::nullopt},
            {TParameter::FrameRate, "Auto"},
            {TParameter::AspectRatio, "4:3"},
            {TParameter::VideoCodec, "libx264"},
            {TParameter::AudioChannels, "2"},
            {TParameter::AudioBitrate, ""},
            {TParameter::AudioSampleRate, "44100"},
            {TParameter::AudioVolume, "100"},
            {TParameter::AudioCodec, "AAC"},
    };
    for (const auto& [parameter, item] : selections) {
        SCOPED_TRACE(ParameterName(parameter).toStdString());
        EXPECT_EQ(choices.Parameters[parameter], item);
    }
    // The source and the folders are not the profile's.
    EXPECT_EQ(choices.Source.FileName, Choices.Source.FileName);
    EXPECT_EQ(choices.ProgramFolder, Choices.ProgramFolder);
}

TEST_F(ProfileChoicesTest, DefaultsBuildTheRecordsTheProfileDescribes) {
    const TOutputOptions options = BuildOutputOptions(Filled(kPhoneProfile));
    EXPECT_EQ(options.FileFormat, "psp");
    EXPECT_EQ(options.FrameSize, "320x240");
    EXPECT_EQ(options.FrameRate, "30000/1001");
    EXPECT_EQ(options.AspectRatio, "4:3");
    EXPECT_EQ(options.VideoBitrate, 1234567);  // no selection: the source's own rate
    EXPECT_EQ(options.VideoCodec, "libx264");
    EXPECT_EQ(options.VideoPreset, "libx264-default");  // the profile names none
    EXPECT_EQ(options.AudioChannels, 2);
    EXPECT_EQ(options.AudioBitrate, 64000);  // the empty item is not a number
    EXPECT_EQ(options.AudioSampleRate, 44100);
    EXPECT_EQ(options.Volume, 256);
    EXPECT_EQ(options.AudioCodec, "aac");
    EXPECT_EQ(options.Target, 0);  // the norm acts on disc profiles only
    EXPECT_FALSE(options.DisableVideo);
    EXPECT_EQ(options.FileName, BytePath("source/clip_(new).mp4"));
}

TEST_F(ProfileChoicesTest, AProfilePresetReplacesTheDefaultForLibx264Only) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
            {"libx264-baseline", "libx264", "libx264-baseline"},
            {" libx264-main ", "libx264", "libx264-main"},
            {"libxvid-default", "libx264", "libx264-default"},  // not a preset of libx264
            {"libx264-baseline", "mpeg4", ""},
    };
    for (const auto& [preset, codec, expected] : cases) {
        SCOPED_TRACE(std::string(preset) + " with " + codec);
        QByteArray profile = kPhoneProfile;
        profile.replace("<disablevideo",
                        QByteArray("<videopreset DefaultValue=\"") + preset + "\"/>\n    <disablevideo");
        TOptionChoices choices = Filled(profile);
        choices.Parameters[TParameter::VideoCodec] = QString::fromLatin1(codec);
        EXPECT_EQ(BuildOutputOptions(choices).VideoPreset, expected);
    }
}

TEST_F(ProfileChoicesTest, AProfileTagMarksMpeg4Part2VideoOnly) {
    const std::pair<const char*, const char*> cases[] = {
            {"mpeg4", "DIVX"},
            {"libxvid", "DIVX"},
            {"libx264", ""},
    };
    QByteArray profile = kPhoneProfile;
    profile.replace("<disablevideo", "<videotag DefaultValue=\" DIVX \"/>\n    <disablevideo");
    for (const auto& [codec, expected] : cases) {
        SCOPED_TRACE(codec);
        TOptionChoices choices = Filled(profile);
        choices.Parameters[TParameter::VideoCodec] = QString::fromLatin1(codec);
        EXPECT_EQ(BuildOutputOptions(choices).VideoTag, expected);
    }
}

TEST_F(ProfileChoicesTest, AudioProfilesAndBareFiles) {
    const std::tuple<const char*, QByteArray, bool, QString> cases[] = {
            {"disablevideo YES",
             "<p><Main><extensionname Value=\"avi\"/></Main>"
             "<Parameter><disablevideo DefaultValue=\"YES\"/></Parameter></p>",
             true, "avi"},
            {"disablevideo 1",
             "<p><Main><extensionname Value=\"avi\"/></Main>"
             "<Parameter><disablevideo DefaultValue=\"1\"/></Parameter></p>",
             false, "avi"},
            {"empty Main and Parameter", "<p><Main/><Parameter/></p>", false, ""},
    };
    for (const auto& [name, content, audioOnly, extension] : cases) {
        SCOPED_TRACE(name);
        const TOptionChoices choices = Filled(content);
        EXPECT_EQ(choices.AudioOnlyTarget, audioOnly);
        EXPECT_EQ(choices.Extension, extension);
        for (std::size_t i = 0; i < kParameterCount; ++i)  // an empty default selects the one empty item
            EXPECT_EQ(choices.Parameters[static_cast<TParameter>(i)], QString());
    }
}

TEST_F(ProfileChoicesTest, OverridesByNameSelectACandidateOrTakeTheValue) {
    const TOptionChoices choices = Filled(kPhoneProfile, {{"videosize", "640X480 - VGA"},
                                                          {"VideoBitrate", "900"},
                                                          {"audiocodec", "mp3"},
                                                          {"normtype", "ntsc"},
                                                          {"extensionname", ".m4v"},
                                                          {"audiovolume", "0"}});
    EXPECT_EQ(choices.Parameters[TParameter::VideoSize], "640x480 - vga");
    EXPECT_EQ(choices.Parameters[TParameter::VideoBitrate], "900");
    EXPECT_EQ(choices.Parameters[TParameter::AudioCodec], "mp3");
    EXPECT_EQ(choices.Parameters[TParameter::AudioVolume], "0");
    EXPECT_EQ(choices.Parameters[TParameter::FrameRate], "Auto");  // untouched
    EXPECT_EQ(choices.Norm, TNorm::Ntsc);
    EXPECT_EQ(choices.Extension, "m4v");

    const TOutputOptions options = BuildOutputOptions(choices);
    EXPECT_EQ(options.FrameSize, "640x480");
    EXPECT_EQ(options.VideoBitrate, 900000);
    EXPECT_EQ(options.Volume, 0);
    EXPECT_EQ(options.FileName, BytePath("source/clip_(new).m4v"));
}

TEST_F(ProfileChoicesTest, AnUnknownNameIsRefusedAndChangesNothing) {
    TOptionChoices choices = Choices;
    choices.Extension = "before";
    QString error;
    EXPECT_FALSE(FillChoicesFromProfile(Load(kPhoneProfile), {{"videosize", "Auto"}, {"videosise", "Auto"}},
                                        choices, &error));
    EXPECT_EQ(choices.Extension, "before");
    EXPECT_FALSE(choices.Parameters[TParameter::VideoSize].has_value());
    EXPECT_TRUE(error.contains("\"videosise\"")) << error.toStdString();
    EXPECT_TRUE(error.contains("videosize")) << error.toStdString();
    EXPECT_TRUE(error.contains("normtype")) << error.toStdString();
}

TEST_F(ProfileChoicesTest, SelectionsAreWhatSaveAsWritesBack) {
    TOptionChoices choices = Filled(kPhoneProfile);
    choices.Parameters[TParameter::AudioVolume] = "200";
    TProfileDocument document = Load(kPhoneProfile);
    document.SetSelectedValues(SelectedValues(choices.Parameters));
    ASSERT_TRUE(document.Save(Path("saved.xml")));

    TProfileDocument saved;
    ASSERT_TRUE(saved.Load(Path("saved.xml")));
    TOptionChoices reloaded = Choices;
    ASSERT_TRUE(FillChoicesFromProfile(saved, {}, reloaded));
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const TParameter parameter = static_cast<TParameter>(i);
        SCOPED_TRACE(ParameterName(parameter).toStdString());
        // The unselected bit rate is written as "", which selects nothing among its candidates.
        EXPECT_EQ(reloaded.Parameters[parameter], choices.Parameters[parameter]);
    }
}

}  // namespace
}  // namespace kestrova::test
