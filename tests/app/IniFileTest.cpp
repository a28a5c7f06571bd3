#include "app/settings/IniFile.h"
#include "app/settings/IntegerText.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kestrova::testing {

namespace {

const QString kGeneral = QStringLiteral("general");

}  // namespace

TEST(IniFileTest, MissingSectionsAndKeysGiveTheDefault) {
    const TIniFile ini = TIniFile::FromText(QStringLiteral("[general]\nprocesses=5\n"));
    EXPECT_EQ(ini.ReadString(kGeneral, QStringLiteral("outputfolder"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("other"), QStringLiteral("processes"), 3), 3);
    EXPECT_EQ(ini.ReadInteger(kGeneral, QStringLiteral("processes"), 3), 5);
    EXPECT_FALSE(ini.Value(kGeneral, QStringLiteral("priority")).has_value());
}

TEST(IniFileTest, ReadsLikePrivateProfileFiles) {
    const TIniFile ini = TIniFile::FromText(QStringLiteral("; written by hand\n"
                                                           "orphan=1\n"
                                                           "[ General ]\n"
                                                           "  Processes =  7  \n"
                                                           "processes=8\n"
                                                           "outputfolder=\"/srv/my videos/ \"\n"
                                                           "empty=\n"
                                                           ";priority=2\n"
                                                           "[general]\n"
                                                           "priority=3\n"));
    // Names compare without case and blanks; the first key of the first section counts.
    EXPECT_EQ(ini.ReadInteger(kGeneral, QStringLiteral("processes"), 0), 7);
    EXPECT_EQ(ini.ReadString(kGeneral, QStringLiteral("outputfolder"), {}),
              QStringLiteral("/srv/my videos/ "));
    EXPECT_EQ(ini.Value(kGeneral, QStringLiteral("empty")), QString());
    // Comments are not keys, and keys before any section belong to none.
    EXPECT_EQ(ini.ReadInteger(kGeneral, QStringLiteral("priority"), -1), -1);
    EXPECT_EQ(ini.ReadInteger(QString(), QStringLiteral("orphan"), -1), -1);
}

TEST(IniFileTest, IntegersThatAreNotNumbersGiveTheDefault) {
    const TIniFile ini =
            TIniFile::FromText(QStringLiteral("[general]\na=abc\nb=0x1F\nc=-2\nd=12abc\ne=99999999999\n"));
    EXPECT_EQ(ini.ReadInteger(kGeneral, QStringLiteral("a"), 3), 3);
    EXPECT_EQ(ini.ReadInteger(kGeneral, QStringLiteral("b"), 3), 31);
    EXPECT_EQ(ini.ReadInteger(kGeneral, QStringLiteral("c"), 3), -2);
    EXPECT_EQ(ini.ReadInteger(kGeneral, QStringLiteral("d"), 3), 3);
    EXPECT_EQ(ini.ReadInteger(kGeneral, QStringLiteral("e"), 3), 3);
}

TEST(IniFileTest, WritingChangesOnlyTheLinesItMustAndKeepsTheRestInOrder) {
    TIniFile ini = TIniFile::FromText(QStringLiteral("; Kestrova settings\n"
                                                     "[window]\n"
                                                     "left=10\n"
                                                     "\n"
                                                     "[General]\n"
                                                     "outputfolder=/old\n"
                                                     "custom = kept as written\n"
                                                     "\n"
                                                     "[recent]\n"
                                                     "file1=/a.flv\n"));
    ini.WriteString(kGeneral, QStringLiteral("outputfolder"), QStringLiteral("/new"));
    ini.WriteInteger(kGeneral, QStringLiteral("processes"), 4);
    ini.WriteString(QStringLiteral("added"), QStringLiteral("key"), QStringLiteral("value"));

    EXPECT_EQ(ini.Text(), QStringLiteral("; Kestrova settings\n"
                                         "[window]\n"
                                         "left=10\n"
                                         "\n"
                                         "[General]\n"
                                         "outputfolder=/new\n"
                                         "custom = kept as written\n"
                                         "processes=4\n"
                                         "\n"
                                         "[recent]\n"
                                         "file1=/a.flv\n"
                                         "[added]\n"
                                         "key=value\n"));
}

TEST(IniFileTest, ValuesThatReadingWouldChangeAreQuoted) {
    TIniFile ini;
    ini.WriteString(kGeneral, QStringLiteral("blanks"), QStringLiteral(" /srv/out "));
    ini.WriteString(kGeneral, QStringLiteral("quotes"), QStringLiteral("\"x\""));
    ini.WriteString(kGeneral, QStringLiteral("lines"), QStringLiteral("/srv/a\nb=1"));
    const TIniFile reread = TIniFile::FromText(ini.Text());
    EXPECT_EQ(reread.ReadString(kGeneral, QStringLiteral("blanks"), {}), QStringLiteral(" /srv/out "));
    EXPECT_EQ(reread.ReadString(kGeneral, QStringLiteral("quotes"), {}), QStringLiteral("\"x\""));
    // A line break cannot be stored; it must not smuggle in a key of its own either.
    EXPECT_EQ(reread.ReadString(kGeneral, QStringLiteral("lines"), {}), QStringLiteral("/srv/a b=1"));
    EXPECT_FALSE(reread.Value(kGeneral, QStringLiteral("b")).has_value());
}

TEST(IniFileTest, KeepsWindowsLineBreaksAndAByteOrderMark) {
    TIniFile ini = TIniFile::FromText(QStringLiteral("\xFEFF[general]\r\nprocesses=1\r\n"));
    ini.WriteInteger(kGeneral, QStringLiteral("priority"), 2);
    EXPECT_EQ(ini.Text(), QStringLiteral("\xFEFF[general]\r\nprocesses=1\r\npriority=2\r\n"));
}

TEST(IniFileTest, SavesAndLoadsAFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Setting.ini"));
    EXPECT_TRUE(TIniFile::Load(path).Text().isEmpty());  // a missing file is an empty document

    TIniFile ini;
    ini.WriteString(kGeneral, QStringLiteral("outputfolder"), QStringLiteral("/srv/Vidéos"));
    ASSERT_TRUE(ini.Save(path));
    EXPECT_EQ(TIniFile::Load(path).ReadString(kGeneral, QStringLiteral("outputfolder"), {}),
              QStringLiteral("/srv/Vidéos"));
    EXPECT_FALSE(ini.Save(folder.path()));  // a folder is no file
}

TEST(IntegerTextTest, AcceptsIntegersOnly) {
    EXPECT_EQ(ParseInteger(QStringLiteral("5")), 5);
    EXPECT_EQ(ParseInteger(QStringLiteral(" -3 ")), -3);
    EXPECT_EQ(ParseInteger(QStringLiteral("+7")), 7);
    EXPECT_EQ(ParseInteger(QStringLiteral("0x10")), 16);
    EXPECT_EQ(ParseInteger(QStringLiteral("2147483647")), 2147483647);
    EXPECT_FALSE(ParseInteger(QStringLiteral("2147483648")).has_value());
    EXPECT_FALSE(ParseInteger(QStringLiteral("abc")).has_value());
    EXPECT_FALSE(ParseInteger(QStringLiteral("1.5")).has_value());
    EXPECT_FALSE(ParseInteger(QStringLiteral("")).has_value());
    EXPECT_FALSE(ParseInteger(QStringLiteral("0x")).has_value());
}

TEST(IntegerTextTest, TheUsersTextIsQuotedInTheError) {
    EXPECT_EQ(IntegerOfText(QStringLiteral("12")), 12);
    try {
        IntegerOfText(QStringLiteral("abc"));
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
    }
}

}  // namespace kestrova::testing
