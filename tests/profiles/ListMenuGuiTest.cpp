// The profile picker through its real lists: where it opens, what hovering and the keys do,
// what a choice puts into the combo, and which lists it rebuilds from the store's files.
#include "profiles/picker/PickerColours.h"
#include "profiles/picker/ProfileComboItems.h"
#include "profiles/store/CurrentProfile.h"
#include "profiles/store/PickerPosition.h"
#include "tests/profiles/ProfileWindowsFixture.h"

#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

namespace kestrova::test {

namespace {

// Groups of the built-in list by their place.
constexpr int kRecent = 0;
constexpr int kGeneralVideo = 1;
constexpr int kGeneralAudio = 2;
constexpr int kHdVideo = 3;
constexpr int kIPod = 7;
constexpr int kPsp = 13;
constexpr int kUserDefined = 17;
constexpr int kAllProfiles = 18;

class ListMenuTest : public ProfileWindowsTest {
protected:
    QListWidget& Left() { return *Find<QListWidget>(Picker(), QStringLiteral("LeftMenu")); }
    QListWidget& Right(int group) {
        return *Find<QListWidget>(Picker(), QStringLiteral("RightMenu%1").arg(group));
    }
    QListWidget& Shown() { return Right(Picker().ShownGroup()); }

    // The picker opened for a combo of a window of its own.
    void Open() {
        FOwner.setGeometry(100, 100, 420, 60);
        FCombo.setParent(&FOwner);
        FCombo.setGeometry(10, 10, 400, 26);
        FOwner.show();
        Picker().ShowBelow(FCombo);
        QApplication::processEvents();
    }

    void HoverLeft(int row) {
        MoveMouse(*Left().viewport(), Left().visualItemRect(Left().item(row)).center());
    }
    void ClickRight(int group, int row) {
        QListWidget& list = Right(group);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
    }
    // The colour an item is drawn in, at its left margin.
    static QColor ItemColour(QListWidget& list, int row) {
        const QRect item = list.visualItemRect(list.item(row));
        return list.viewport()->grab().toImage().pixelColor(item.left() + 2, item.center().y());
    }
    void Key(int key) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : static_cast<QWidget*>(&Left()), static_cast<Qt::Key>(key));
    }

    QWidget FOwner;
    QComboBox FCombo;
};

// A group's name is drawn like a profile's name, bold and underlined: the underline is a line of
// text colour nearly as long as the name.
TEST_F(ListMenuTest, GroupNamesAreDrawnBoldAndUnderlined) {
    Open();
    const QRect item = Left().visualItemRect(Left().item(kGeneralAudio));
    const QImage drawn = Left().viewport()->grab(item).toImage();
    int longest = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0, run = 0; x < drawn.width(); ++x) {
            run = qGray(drawn.pixel(x, y)) < 128 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    QFont name = Left().font();
    name.setBold(true);
    EXPECT_GE(longest, QFontMetrics(name).horizontalAdvance(QStringLiteral("General Audio")) * 9 / 10);
}

TEST_F(ListMenuTest, FirstRunRecordsTheDefaultPositionThenNoChoiceAndOpensOnGeneralVideo) {
    TListMenu& picker = Picker();
    EXPECT_EQ(picker.LeftIndex(), -1);
    EXPECT_EQ(picker.RightIndex(), -1);
    // The default position was written, and the lists' first rebuild wrote "no choice" over it.
    EXPECT_EQ(LoadPickerPosition(TStorePaths(P())), (TPickerPosition{-1, -1}));
    EXPECT_EQ(picker.ShownGroup(), kGeneralVideo);
    EXPECT_EQ(Left().currentRow(), kGeneralVideo);
    EXPECT_EQ(Shown().currentRow(), 0);
    EXPECT_EQ(picker.size(), QSize(511, 462));
    Open();
    SaveScreenshot(picker, QStringLiteral("picker-general-video"));
}

struct TRestoredCase {
    const char* LastXml;
    int ShownGroup;
    int SelectedProfile;
};

void PrintTo(const TRestoredCase& restored, std::ostream* out) {
    *out << restored.LastXml;
}

class RestoredPositionTest : public ListMenuTest, public ::testing::WithParamInterface<TRestoredCase> {};

TEST_P(RestoredPositionTest, OpensWhereLastXmlSays) {
    WriteFile("profiles/last.xml", GetParam().LastXml);
    Open();
    EXPECT_EQ(Picker().ShownGroup(), GetParam().ShownGroup);
    EXPECT_EQ(Left().currentRow(), GetParam().ShownGroup);
    EXPECT_EQ(Shown().currentRow(), GetParam().SelectedProfile);
}

INSTANTIATE_TEST_SUITE_P(
        LastXml, RestoredPositionTest,
        ::testing::Values(
                TRestoredCase{R"(<main><Profile LeftIndex="7" RightIndex="2"/></main>)", kIPod, 2},
                // A profile the group no longer has: no profile selected.
                TRestoredCase{R"(<main><Profile LeftIndex="7" RightIndex="99"/></main>)", kIPod, -1},
                // Numbers that are not numbers read as 0: the (empty) recent list.
                TRestoredCase{R"(<main><Profile LeftIndex="x" RightIndex="y"/></main>)", kRecent, -1},
                TRestoredCase{R"(<main><Profile LeftIndex="-1" RightIndex="-1"/></main>)", kGeneralVideo,
                              0}));

TEST_F(ListMenuTest, HoveringAGroupShowsItsProfilesWhileTheChosenGroupStaysSelected) {
    WriteFile("profiles/last.xml", R"(<main><Profile LeftIndex="7" RightIndex="1"/></main>)");
    Open();
    HoverLeft(kPsp);
    EXPECT_EQ(Picker().ShownGroup(), kPsp);
    EXPECT_EQ(Left().currentRow(), kIPod);
    EXPECT_EQ(ItemColour(Left(), kPsp), QColor(picker::kHoverColour));
    EXPECT_EQ(ItemColour(Left(), kIPod), QColor(picker::kSelectedColour));
    SaveScreenshot(Picker(), QStringLiteral("picker"));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&Left(), &leave);
    EXPECT_EQ(ItemColour(Left(), kPsp), QColor(picker::kListColour));
    EXPECT_EQ(Picker().ShownGroup(), kPsp) << "leaving keeps the last hovered group in front";
    EXPECT_EQ(Picker().LeftIndex(), kIPod);
    EXPECT_EQ(Picker().RightIndex(), 1);
}

TEST_F(ListMenuTest, HoveringAProfileLightsItUpAndReopeningShowsTheChosenGroupAgain) {
    Open();
    QListWidget& profiles = Shown();
    MoveMouse(*profiles.viewport(), profiles.visualItemRect(profiles.item(3)).center());
    EXPECT_EQ(ItemColour(profiles, 3), QColor(picker::kHoverColour));
    EXPECT_EQ(ItemColour(profiles, 0), QColor(picker::kSelectedColour));
    EXPECT_EQ(ItemColour(profiles, 4), QColor(picker::kListColour));

    HoverLeft(kPsp);
    Picker().hide();
    Picker().show();
    EXPECT_EQ(Picker().ShownGroup(), kGeneralVideo);
}

struct TKeyCase {
    const char* Name;
    std::vector<int> Keys;
    int LeftIndex;
    int RightIndex;
    int ShownGroup;
    const char* ChosenFile;  // nullptr: nothing chosen
    bool StaysOpen;
};

void PrintTo(const TKeyCase& keys, std::ostream* out) {
    *out << keys.Name;
}

class PickerKeyTest : public ListMenuTest, public ::testing::WithParamInterface<TKeyCase> {};

TEST_P(PickerKeyTest, KeysMoveChooseAndClose) {
    const TKeyCase& keys = GetParam();
    Open();
    QSignalSpy chosen(&Picker(), &TListMenu::ProfileChosen);
    QSignalSpy closed(&Picker(), &TListMenu::PickerClosed);
    for (int key : keys.Keys) Key(key);
    EXPECT_EQ(Picker().LeftIndex(), keys.LeftIndex);
    EXPECT_EQ(Picker().RightIndex(), keys.RightIndex);
    EXPECT_EQ(Picker().isVisible(), keys.StaysOpen);
    if (keys.StaysOpen) {
        EXPECT_EQ(Picker().ShownGroup(), keys.ShownGroup);
    }
    EXPECT_EQ(chosen.count(), keys.ChosenFile ? 1 : 0);
    EXPECT_EQ(closed.count(), keys.StaysOpen || keys.ChosenFile ? 0 : 1);
    if (keys.ChosenFile) {
        EXPECT_EQ(ProfileComboPath(FCombo), ProfilesPath(QLatin1String(keys.ChosenFile)));
        EXPECT_EQ(CurrentProfile().ProfileFile, QLatin1String(keys.ChosenFile));
    }
}

INSTANTIATE_TEST_SUITE_P(
        Keys, PickerKeyTest,
        ::testing::Values(
                // In the profiles: arrows select without choosing, Enter chooses.
                TKeyCase{"DownSelects", {Qt::Key_Down}, kGeneralVideo, 1, kGeneralVideo, nullptr, true},
                TKeyCase{"EndSelectsLast", {Qt::Key_End}, kGeneralVideo, 12, kGeneralVideo, nullptr, true},
                TKeyCase{"EnterChooses",
                         {Qt::Key_Down, Qt::Key_Return},
                         kGeneralVideo,
                         1,
                         kGeneralVideo,
                         "asf.xml",
                         false},
                // Left to the groups: arrows there show other groups, the choice stays.
                TKeyCase{"GroupsBrowse",
                         {Qt::Key_Left, Qt::Key_Down, Qt::Key_Down},
                         -1,
                         -1,
                         kHdVideo,
                         nullptr,
                         true},
                TKeyCase{"RightEntersProfiles",
                         {Qt::Key_Left, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down},
                         kGeneralAudio,
                         1,
                         kGeneralAudio,
                         nullptr,
                         true},
                TKeyCase{"ChooseInOtherGroup",
                         {Qt::Key_Left, Qt::Key_Down, Qt::Key_Return, Qt::Key_Return},
                         kGeneralAudio,
                         0,
                         kGeneralAudio,
                         "mp3.xml",
                         false},
                TKeyCase{"EscapeCloses",
                         {Qt::Key_Down, Qt::Key_Escape},
                         kGeneralVideo,
                         1,
                         kGeneralVideo,
                         nullptr,
                         false}),
        [](const ::testing::TestParamInfo<TKeyCase>& info) { return std::string(info.param.Name); });

TEST_F(ListMenuTest, ChoosingTheThirdRecentEntryTakesTheThirdOfTheFileOldestFirst) {
    std::vector<TProfileEntry> recent;
    for (const char* file : {"a.xml", "b.xml", "c.xml", "d.xml"})
        recent.push_back({QStringLiteral("Profile %1(*.avi)").arg(QLatin1String(file)),
                          {},
                          "profile_avi.png",
                          QLatin1String(file)});
    WriteIndex("recent.xml", recent);
    Open();
    QSignalSpy chosen(&Picker(), &TListMenu::ProfileChosen);
    QSignalSpy closed(&Picker(), &TListMenu::PickerClosed);
    HoverLeft(kRecent);
    ASSERT_EQ(Right(kRecent).count(), 4);
    ClickRight(kRecent, 2);

    EXPECT_EQ(CurrentProfile(), recent[2]);
    ASSERT_EQ(FCombo.count(), 2);
    EXPECT_EQ(FCombo.currentIndex(), 0);
    EXPECT_EQ(FCombo.itemText(0), recent[2].ProfileName);
    EXPECT_FALSE(FCombo.itemIcon(0).isNull()) << "the combo shows the group's picture";
    EXPECT_EQ(FCombo.itemText(1), ProfilesPath("c.xml"));
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(closed.count(), 0);
    EXPECT_FALSE(Picker().isVisible());
    EXPECT_EQ(Picker().LeftIndex(), kRecent);
    EXPECT_EQ(Picker().RightIndex(), 2);

    Picker().show();  // opening again records the choice
    EXPECT_EQ(LoadPickerPosition(TStorePaths(P())), (TPickerPosition{kRecent, 2}));
}

TEST_F(ListMenuTest, ClickingAnEmptyListChoosesNothing) {
    Open();
    QSignalSpy chosen(&Picker(), &TListMenu::ProfileChosen);
    HoverLeft(kUserDefined);
    QTest::mouseClick(Right(kUserDefined).viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_TRUE(Picker().isVisible());
    EXPECT_EQ(FCombo.count(), 0);
}

TEST_F(ListMenuTest, UserAndRecentListsAreReadAgainAtEveryOpening) {
    Open();
    EXPECT_EQ(Right(kUserDefined).count(), 0);
    Picker().hide();
    const TProfileEntry user{QStringLiteral("Mine-1(*.mp4)"), QStringLiteral("mine"),
                             QStringLiteral("profile_mp4.png"), QStringLiteral("userdefined/Mine-1.xml")};
    WriteIndex("userdefined.xml", {user});
    WriteIndex("recent.xml", {Mp4Entry(), AviEntry()});
    Picker().show();
    ASSERT_EQ(Right(kUserDefined).count(), 1);
    EXPECT_TRUE(Right(kUserDefined).item(0)->text().startsWith(user.ProfileName));
    EXPECT_EQ(Right(kRecent).count(), 2);
    // All Profiles holds the built-in profiles only.
    QListWidget& all = Right(kAllProfiles);
    EXPECT_EQ(all.count(), 115);
    for (int row = 0; row < all.count(); ++row)
        EXPECT_FALSE(all.item(row)->text().startsWith(user.ProfileName)) << row;
}

TEST_F(ListMenuTest, OpensBelowItsComboOrAboveWhenTheScreenEndsBelow) {
    Open();
    const QPoint comboBottom = FCombo.mapToGlobal(QPoint(0, FCombo.height()));
    EXPECT_EQ(Picker().pos(), comboBottom);
    Picker().hide();

    const QRect screen = FCombo.screen()->availableGeometry();
    FOwner.move(100, screen.bottom() - 80);
    QApplication::processEvents();
    Picker().ShowBelow(FCombo);
    EXPECT_EQ(Picker().geometry().bottom() + 1, FCombo.mapToGlobal(QPoint(0, 0)).y());
    EXPECT_LE(Picker().geometry().bottom(), screen.bottom());
}

// The one-list form: profiles straight in the group list.
class OneListTest : public ListMenuTest {
protected:
    TListMenu& OneList() {
        if (!FOneList) {
            TGroupList groups;
            groups.SingleFile = true;
            groups.SingleList = {
                    Mp4Entry(), AviEntry(), {"WAV(*.wav)", "Wave", "profile_wav.png", "wav.xml"}};
            FOneList = std::make_unique<TListMenu>(P(), groups);
        }
        return *FOneList;
    }
    std::unique_ptr<TListMenu> FOneList;
};

TEST_F(OneListTest, ShowsOnlyTheListAndAClickFillsTheComboWithNameAndPath) {
    TListMenu& picker = OneList();
    EXPECT_EQ(picker.size(), QSize(152, 462));
    auto& list = *Find<QListWidget>(picker, QStringLiteral("LeftMenu"));
    ASSERT_EQ(list.count(), 3);
    picker.ShowBelow(FCombo);
    QSignalSpy chosen(&picker, &TListMenu::ProfileChosen);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(1)).center());
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(CurrentProfile(), AviEntry());
    ASSERT_EQ(FCombo.count(), 2);
    EXPECT_EQ(FCombo.itemText(0), AviEntry().ProfileName);
    EXPECT_FALSE(FCombo.itemIcon(0).isNull()) << "the profile's own picture";
    EXPECT_EQ(ProfileComboPath(FCombo), ProfilesPath("avi.xml"));
    EXPECT_FALSE(picker.isVisible());

    picker.ShowBelow(FCombo);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(CurrentProfile().ProfileFile, QStringLiteral("wav.xml"));
}

}  // namespace

}  // namespace kestrova::test
