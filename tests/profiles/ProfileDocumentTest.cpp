// Reading a profile file's Main and Parameter values, and writing it back.
#include "tests/profiles/ProgramFolderFixture.h"

#include "profiles/store/ProfileDocument.h"

namespace kestrova::test {
namespace {

using ProfileDocumentTest = ProgramFolderTest;

TEST_F(ProfileDocumentTest, ReadsMainAndParameterValues) {
    WriteBuiltInProfile("mp4.xml");
    TProfileDocument document;
    ASSERT_TRUE(document.Load(ProfilesPath("mp4.xml")));
    EXPECT_EQ(document.MainValue("fileformat"), "mp4");
    EXPECT_EQ(document.MainValue("targetprofile"), "none");
    EXPECT_EQ(document.ExtensionNames(), QStringList({"mp4", "m4v"}));
    EXPECT_EQ(document.CandidatesValue("videosize"), "Auto - Original,320x240 - qvga,640x480 - vga");
    EXPECT_EQ(document.DefaultValue("audiocodec"), "aac");
    EXPECT_FALSE(document.IsAudioOnlyTarget());
}

TEST_F(ProfileDocumentTest, RootNameIsFreeAndMissingElementsReadEmpty) {
    WriteFile("profiles/odd.xml",
              R"(<anything><Main><fileformat Value="avi"/></Main><Parameter/></anything>)");
    TProfileDocument document;
    ASSERT_TRUE(document.Load(ProfilesPath("odd.xml")));
    EXPECT_EQ(document.MainValue("fileformat"), "avi");
    EXPECT_EQ(document.MainValue("extensionname"), "");
    EXPECT_EQ(document.ExtensionNames(), QStringList({""}));
    EXPECT_EQ(document.CandidatesValue("videosize"), "");
    EXPECT_EQ(document.DefaultValue("videosize"), "");
}

TEST_F(ProfileDocumentTest, BrokenFilesGiveAClearError) {
    WriteFile("profiles/text.xml", "this is not xml");
    WriteFile("profiles/empty.xml", "");
    WriteFile("profiles/cut.xml", "<profile><Main>");
    WriteFile("profiles/bare.xml", "<profile/>");
    WriteFile("profiles/nomain.xml",
              R"(<profile><Parameter><videosize DefaultValue="a"/></Parameter></profile>)");
    WriteFile("profiles/noparameter.xml", R"(<profile><Main><fileformat Value="avi"/></Main></profile>)");
    const std::pair<const char*, const char*> cases[] = {
            {"text.xml", "is not a valid XML document"},
            {"empty.xml", "is empty"},
            {"cut.xml", "is not a valid XML document"},
            {"missing.xml", "does not exist"},
            {"bare.xml", "has no Main section"},
            {"nomain.xml", "has no Main section"},
            {"noparameter.xml", "has no Parameter section"},
    };
    for (const auto& [name, reason] : cases) {
        TProfileDocument document;
        QString error;
        EXPECT_FALSE(document.Load(ProfilesPath(name), &error)) << name;
        EXPECT_TRUE(error.contains(name)) << error.toStdString();
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
        EXPECT_FALSE(document.IsLoaded()) << name;
        EXPECT_EQ(document.MainValue("fileformat"), "");
    }
}

TEST_F(ProfileDocumentTest, DisableVideoCountsTrueAndYesInAnyCase) {
    const std::pair<const char*, bool> cases[] = {{"YES", true}, {"True", true}, {"yes", true},
                                                  {"1", false},  {"no", false},  {"", false}};
    for (const auto& [value, audioOnly] : cases) {
        WriteFile("profiles/a.xml", QByteArray("<p><Main/><Parameter><disablevideo DefaultValue=\"") + value +
                                            "\"/></Parameter></p>");
        TProfileDocument document;
        ASSERT_TRUE(document.Load(ProfilesPath("a.xml")));
        EXPECT_EQ(document.IsAudioOnlyTarget(), audioOnly) << value;
    }
}

TEST_F(ProfileDocumentTest, SelectedValuesBecomeDefaultsAndTheRestStays) {
    WriteBuiltInProfile("mp4.xml");
    TProfileDocument document;
    ASSERT_TRUE(document.Load(ProfilesPath("mp4.xml")));
    const TSelectedValues values = {"640x480 - vga", "768", "25", "16:9", "libx264", "1", "64",
                                    "22050",         "200", "mp3"};
    document.SetSelectedValues(values);
    ASSERT_TRUE(document.Save(ProfilesPath("out.xml")));

    TProfileDocument saved;
    ASSERT_TRUE(saved.Load(ProfilesPath("out.xml")));
    for (std::size_t i = 0; i < kSelectableParameters.size(); ++i)
        EXPECT_EQ(saved.DefaultValue(kSelectableParameters[i]), values[i]) << kSelectableParameters[i];
    EXPECT_EQ(saved.CandidatesValue("videocodec"), "MPEG4,libx264");
    EXPECT_EQ(saved.DefaultValue("disablevideo"), "false");
    EXPECT_EQ(saved.DefaultValue("normtype"), "Auto");
    EXPECT_EQ(saved.MainValue("fileformat"), "mp4");
    EXPECT_TRUE(ReadFile("profiles/out.xml").startsWith("<?xml version="));
}

TEST_F(ProfileDocumentTest, AbsentParametersStayAbsent) {
    WriteFile("profiles/p.xml", "<p><Main/><Parameter><audiocodec CandidatesValue=\"aac\" "
                                "DefaultValue=\"aac\"/></Parameter></p>");
    TProfileDocument document;
    ASSERT_TRUE(document.Load(ProfilesPath("p.xml")));
    document.SetSelectedValues({"x", "x", "x", "x", "x", "x", "x", "x", "x", "ac3"});
    ASSERT_TRUE(document.Save(ProfilesPath("p.xml")));
    const QByteArray saved = ReadFile("profiles/p.xml");
    EXPECT_TRUE(saved.contains("DefaultValue=\"ac3\""));
    EXPECT_FALSE(saved.contains("videosize"));
}

TEST_F(ProfileDocumentTest, ChangedDocumentKeepsItsOwnEncoding) {
    // A Latin-1 profile with a non-ASCII value must come back readable, still Latin-1.
    WriteFile("profiles/latin.xml",
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
              "<p><Main/><Parameter><audiocodec CandidatesValue=\"caf\xe9\" DefaultValue=\"caf\xe9\"/>"
              "</Parameter></p>");
    TProfileDocument document;
    ASSERT_TRUE(document.Load(ProfilesPath("latin.xml")));
    document.SetSelectedValues({"", "", "", "", "", "", "", "", "", QString::fromUtf8("th\xc3\xa9")});
    ASSERT_TRUE(document.Save(ProfilesPath("latin.xml")));
    const QByteArray bytes = ReadFile("profiles/latin.xml");
    EXPECT_TRUE(bytes.contains("ISO-8859-1"));
    EXPECT_TRUE(bytes.contains("th\xe9"));

    TProfileDocument reread;
    ASSERT_TRUE(reread.Load(ProfilesPath("latin.xml")));
    EXPECT_EQ(reread.DefaultValue("audiocodec"), QString::fromUtf8("th\xc3\xa9"));
    EXPECT_EQ(reread.CandidatesValue("audiocodec"), QString::fromUtf8("caf\xc3\xa9"));
}

TEST_F(ProfileDocumentTest, TextTheDeclaredEncodingCannotHoldIsWrittenAsUtf8) {
    WriteFile("profiles/latin.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                    "<p><Main/><Parameter><audiocodec DefaultValue=\"a\"/></Parameter></p>");
    TProfileDocument document;
    ASSERT_TRUE(document.Load(ProfilesPath("latin.xml")));
    const QString chinese = QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87");
    document.SetSelectedValues({"", "", "", "", "", "", "", "", "", chinese});
    ASSERT_TRUE(document.Save(ProfilesPath("latin.xml")));

    TProfileDocument reread;
    ASSERT_TRUE(reread.Load(ProfilesPath("latin.xml")));
    EXPECT_EQ(reread.DefaultValue("audiocodec"), chinese);
    EXPECT_TRUE(ReadFile("profiles/latin.xml").contains("utf-8"));
}

}  // namespace
}  // namespace kestrova::test
