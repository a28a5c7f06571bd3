// The group list compiled into the program.
#include "profiles/store/GroupList.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

struct TExpectedGroup {
    const char* Name;
    const char* Image;
    QStringList Files;
};

const std::vector<TExpectedGroup>& ExpectedGroups() {
    static const std::vector<TExpectedGroup> groups = {
            {"Recent", "group_recent.png", {}},
            {"General Video",
             "group_video.png",
             {"wmv.xml", "asf.xml", "avi.xml", "divx.xml", "xvid.xml", "mpeg1.xml", "mpeg2.xml", "mp4.xml",
              "mkv.xml", "mov.xml", "rm.xml", "dv.xml", "mp4h264.xml"}},
            {"General Audio",
             "group_audio.png",
             {"mp3.xml", "wma.xml", "wav.xml", "aac.xml", "ac3.xml", "aiff.xml", "m4a.xml", "mp2.xml",
              "ogg.xml", "au.xml"}},
            {"HD Video",
             "group_hdvideo.png",
             {"hd_divx.xml", "hd_xvid.xml", "hd_asf.xml", "hd_avi.xml", "hd_mp4.xml", "hd_mp4h264.xml",
              "hd_mov.xml", "hd_wmv.xml", "hd_mpeg2ps.xml", "hd_mpeg2ts.xml"}},
            {"Lossless Audio", "group_losslessaudio.png", {"flac.xml", "wavll.xml"}},
            {"CD/VCD/DVD",
             "group_cd.png",
             {"cd_wav.xml", "vcd_ntsc.xml", "vcd_pal.xml", "dvd_ntsc.xml", "dvd._pal.xml"}},
            {"Apple TV",
             "group_appletv.png",
             {"appletv_mpeg4.xml", "appletv_h264.xml", "appletv_h264_hd.xml"}},
            {"iPod",
             "group_ipod.png",
             {"ipod_mpeg4.xml", "ipod_mpeg4_tv.xml", "ipod_h264.xml", "ipod_h264_tv.xml",
              "ipod_touch_mpeg4.xml", "ipod_touch_mpeg4_tv.xml", "ipod_touch_h264.xml",
              "ipod_touch_h264_tv.xml"}},
            {"iPhone",
             "group_iphone.png",
             {"iphone_mpeg4.xml", "iphone_mpeg4_tv.xml", "iphone_h264.xml", "iphone_h264_tv.xml"}},
            {"Mobile Phone",
             "group_mobile.png",
             {"mobilephone_3gpm.xml", "mobilephone_3gps.xml", "mobilephone_3g2m.xml", "mobilephone_3g2s.xml",
              "wma.xml", "mobilephone_wmv.xml", "gphone_mpeg4.xml", "gphone_h264.xml", "gphone_wmv.xml",
              "blackberry_mpeg4.xml", "blackberry_3gp.xml", "blackberry_avi.xml"}},
            {"Flash Video", "group_flashvideo.png", {"flv.xml", "flv_h264.xml", "f4v.xml", "swf.xml"}},
            {"PMP",
             "group_pmp.png",
             {"archos_wmv.xml", "archos_mp4.xml", "archos_h264.xml", "zen_wmv.xml", "zen_xvid.xml",
              "zen_mp4.xml", "zen_h264.xml", "iriver_wmv.xml", "iriver_xvid.xml", "iriver_mp4.xml",
              "iriver_h264.xml"}},
            {"PS3",
             "group_ps3.png",
             {"ps3_wmv.xml", "ps3_hd_wmv.xml", "ps3_mpeg2.xml", "ps3_hd_mpeg2ps.xml", "ps3_hd_mpeg2ts.xml",
              "ps3_divx.xml", "ps3_hd_divx.xml", "ps3_xvid.xml", "ps3_hd_xvid.xml", "ps3_h264.xml",
              "ps3_hd_h264.xml"}},
            {"PSP",
             "group_psp.png",
             {"psp_mpeg4.xml", "psp_h264.xml", "psp_h264_mini.xml", "psp_h264_tv.xml"}},
            {"Wii", "group_wii.png", {"wii_avi.xml", "wii_mov.xml"}},
            {"Xbox",
             "group_xbox.png",
             {"xbox_wmv.xml", "xbox_hd_wmv.xml", "xbox_divx.xml", "xbox_hd_divx.xml", "xbox_xvid.xml",
              "xbox_hd_xvid.xml", "xbox_mpeg2.xml", "xbox_hd_mpeg2ps.xml", "xbox_hd_mpeg2ts.xml",
              "xbox_mp4.xml", "xbox_hd_mp4.xml", "xbox_h264.xml", "xbox_hd_h264.xml"}},
            {"Zune", "group_zune.png", {"zune_wmv.xml", "zune_mpeg4.xml", "zune_h264.xml"}},
            {"User defined", "group_user.png", {}},
            {"All Profiles", "group_all.png", {}},
    };
    return groups;
}

TEST(GroupListTest, IsTheTwoPaneListWithNineteenGroupsInOrder) {
    const TGroupList list = BuiltInGroupList();
    EXPECT_FALSE(list.SingleFile);
    const auto& expected = ExpectedGroups();
    ASSERT_EQ(list.Groups.size(), expected.size());
    for (std::size_t g = 0; g < expected.size(); ++g) {
        const TProfileGroup& group = list.Groups[g];
        EXPECT_EQ(group.GroupName, expected[g].Name);
        EXPECT_EQ(group.GroupImage, expected[g].Image);
        QStringList files;
        for (const TProfileEntry& profile : group.Profiles) files.append(profile.ProfileFile);
        EXPECT_EQ(files, expected[g].Files) << expected[g].Name;
    }
}

TEST(GroupListTest, HoldsOneHundredFifteenCompleteEntries) {
    static const QRegularExpression pattern(R"(^.+\(\*\.[0-9a-z]+\)$)");
    static const QRegularExpression image(R"(^profile_[a-z0-9]+\.png$)");
    int count = 0;
    QSet<QString> names;
    for (const TProfileGroup& group : BuiltInGroupList().Groups)
        for (const TProfileEntry& profile : group.Profiles) {
            ++count;
            names.insert(profile.ProfileName);
            EXPECT_TRUE(pattern.match(profile.ProfileName).hasMatch()) << profile.ProfileName.toStdString();
            EXPECT_TRUE(image.match(profile.ProfileImage).hasMatch()) << profile.ProfileImage.toStdString();
            EXPECT_TRUE(profile.DescribeName.contains("#13#10") || profile.DescribeName.size() < 60)
                    << profile.DescribeName.toStdString();
            EXPECT_FALSE(profile.DescribeName.trimmed().isEmpty());
        }
    EXPECT_EQ(count, 115);
    // The display name tells profiles apart in the recent list: only the shared "wma.xml"
    // entry may appear twice.
    EXPECT_EQ(names.size(), 114);
}

TEST(GroupListTest, SharedWmaEntryIsTheSameInBothGroups) {
    const TGroupList list = BuiltInGroupList();
    const auto find = [&](const char* groupName) {
        for (const TProfileGroup& group : list.Groups)
            if (group.GroupName == groupName)
                for (const TProfileEntry& profile : group.Profiles)
                    if (profile.ProfileFile == "wma.xml") return profile;
        return TProfileEntry{};
    };
    EXPECT_FALSE(find("General Audio").ProfileName.isEmpty());
    EXPECT_EQ(find("General Audio"), find("Mobile Phone"));
}

TEST(GroupListTest, DocumentHasTheAttributesThePickerReads) {
    const QDomDocument document = BuiltInGroupListDocument();
    const QDomElement root = document.documentElement();
    EXPECT_EQ(root.tagName(), "main");
    const QDomElement groups = root.firstChildElement();
    EXPECT_EQ(groups.tagName(), "groups");
    EXPECT_EQ(groups.attribute("singlefile"), "no");
    EXPECT_EQ(groups.attribute("width"), "16");
    EXPECT_EQ(groups.attribute("height"), "16");
    const QDomElement first = groups.firstChildElement("item").nextSiblingElement("item").firstChildElement();
    EXPECT_EQ(first.tagName(), "profile");
    for (const char* attribute : {"profilename", "describename", "profileimage", "profilefile"})
        EXPECT_TRUE(first.hasAttribute(attribute)) << attribute;
}

TEST(GroupListTest, OneListFormReadsProfilesFromTheGroupsElement) {
    QDomDocument document;
    ASSERT_TRUE(document.setContent(QByteArray(
            R"x(<main><groups singlefile="yes"><profile profilename="A(*.a)" describename="d" profileimage="i.png" profilefile="a.xml"/></groups></main>)x")));
    const TGroupList list = ReadGroupList(document);
    EXPECT_TRUE(list.SingleFile);
    EXPECT_TRUE(list.Groups.empty());
    ASSERT_EQ(list.SingleList.size(), 1u);
    EXPECT_EQ(list.SingleList[0].ProfileFile, "a.xml");
}

}  // namespace
}  // namespace kestrova
