// The skin as the build draws it into the program folder: every picture the windows, the
// dialogs and the profile picker load exists, has the size its control expects and is not
// blank, and the states of each button differ.
#include "ui/skin/SkinPictures.h"
#include "profiles/store/GroupList.h"

#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <ostream>
#include <set>

namespace kestrova {
namespace {

const QString kProgramFolder = QStringLiteral(KESTROVA_PROGRAM_DIR);

QImage Picture(const QString& relative) {
    return QImage(kProgramFolder + relative);
}

bool HasVisiblePixels(const QImage& picture) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(argb.pixel(x, y)) > 0) return true;
        }
    }
    return false;
}

struct TPictureCase {
    QString Path;  // under the program folder
    QSize Size;
};

void PrintTo(const TPictureCase& picture, std::ostream* out) {
    *out << picture.Path.toStdString();
}

std::vector<TPictureCase> FixedPictures() {
    const QString main = skin::kMainFolder;
    const QString icon = skin::kIconFolder;
    std::vector<TPictureCase> pictures{
            {main + skin::kMainBackground, {800, 500}},
            {main + skin::kStartPanel, {752, 312}},
            {main + skin::kHeaderStrip, {120, 18}},
            {main + skin::kScrollBarStrip, {272, 17}},
            {icon + skin::kProfileFace, {64, 104}},
            {icon + skin::kProfileArrow, {12, 12}},
            {icon + skin::kRecentGroupPicture, {16, 16}},
            {icon + skin::kPickerScrollBarStrip, {204, 17}},
            {icon + skin::kGeneralOptionsBackground, {445, 289}},
            {icon + skin::kOutputOptionsBackground, {560, 400}},
    };
    for (const int size : skin::kProgramIconSizes)
        pictures.push_back({QStringLiteral("skin/kestrova-%1.png").arg(size), {size, size}});
    return pictures;
}

class FixedPictureTest : public ::testing::TestWithParam<TPictureCase> {};

TEST_P(FixedPictureTest, IsDrawnAtItsSize) {
    const QImage picture = Picture(GetParam().Path);
    ASSERT_FALSE(picture.isNull()) << "missing or unreadable";
    EXPECT_EQ(picture.size(), GetParam().Size);
    EXPECT_TRUE(HasVisiblePixels(picture));
}

INSTANTIATE_TEST_SUITE_P(Skin, FixedPictureTest, ::testing::ValuesIn(FixedPictures()));

struct TButtonCase {
    QLatin1String Stem;
    QSize Size;
    bool HasDisabled;
};

void PrintTo(const TButtonCase& button, std::ostream* out) {
    *out << button.Stem.data();
}

const TButtonCase kButtons[] = {
        {skin::kButtonAdd, {78, 69}, true},    {skin::kButtonRemove, {80, 69}, true},
        {skin::kButtonClear, {80, 69}, true},  {skin::kButtonOptions, {80, 69}, true},
        {skin::kButtonHelp, {80, 69}, true},   {skin::kButtonDownload, {80, 69}, true},
        {skin::kButtonStart, {42, 42}, true},  {skin::kButtonStop, {42, 42}, true},
        {skin::kButtonPause, {42, 42}, true},  {skin::kButtonUp, {42, 42}, true},
        {skin::kButtonDown, {42, 42}, true},   {skin::kButtonLocation, {42, 42}, true},
        {skin::kButtonClose, {22, 21}, false}, {skin::kButtonMinimise, {22, 21}, false},
};

class ButtonPictureTest : public ::testing::TestWithParam<TButtonCase> {};

TEST_P(ButtonPictureTest, EveryStateIsDrawnAtTheButtonSizeAndLooksItsOwn) {
    const TButtonCase& button = GetParam();
    const skin::TButtonPictures loaded = skin::LoadButtonPictures(kProgramFolder, button.Stem);
    std::vector<QImage> states{loaded.Normal.toImage(), loaded.Over.toImage(), loaded.Click.toImage()};
    if (button.HasDisabled)
        states.push_back(loaded.Disabled.toImage());
    else
        EXPECT_TRUE(loaded.Disabled.isNull());
    for (size_t state = 0; state < states.size(); ++state) {
        ASSERT_FALSE(states[state].isNull()) << "state " << state << " missing";
        EXPECT_EQ(states[state].size(), button.Size) << "state " << state;
        for (size_t other = 0; other < state; ++other)
            EXPECT_NE(states[state], states[other])
                    << "states " << other << " and " << state << " look alike";
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, ButtonPictureTest, ::testing::ValuesIn(kButtons),
                         [](const auto& info) { return std::string(info.param.Stem.data()); });

// The group list names the picker's pictures: every one must be there.
TEST(GroupListPictures, EveryGroupAndProfilePictureIsDrawn) {
    const TGroupList groups = BuiltInGroupList();
    ASSERT_FALSE(groups.Groups.empty());
    std::set<QString> profilePictures;
    for (const TProfileGroup& group : groups.Groups) {
        const QImage picture = Picture(skin::kIconFolder + group.GroupImage);
        EXPECT_FALSE(picture.isNull()) << group.GroupImage.toStdString() << " missing";
        EXPECT_EQ(picture.size(), QSize(16, 16)) << group.GroupImage.toStdString();
        for (const TProfileEntry& profile : group.Profiles) profilePictures.insert(profile.ProfileImage);
    }
    EXPECT_GT(profilePictures.size(), 30u);
    for (const QString& name : profilePictures) {
        const QImage picture = Picture(skin::kIconFolder + name);
        EXPECT_FALSE(picture.isNull()) << name.toStdString() << " missing";
        EXPECT_EQ(picture.size(), QSize(32, 32)) << name.toStdString();
        EXPECT_TRUE(HasVisiblePixels(picture)) << name.toStdString();
    }
}

// The getting-started picture's add target fills the hot spot the window reacts to.
TEST(StartPanelPicture, TheAddTargetFillsTheHotSpot) {
    const QImage panel = Picture(skin::kMainFolder + skin::kStartPanel);
    ASSERT_FALSE(panel.isNull());
    const auto isAccent = [&](int x, int y) {
        const QColor colour = panel.pixelColor(x, y);
        return colour.red() > 200 && colour.green() > 90 && colour.blue() < 110;
    };
    // The disc of the target, near the spot's sides and bottom (its top carries a shine).
    for (const QPoint point : {QPoint(214, 90), QPoint(210, 80), QPoint(238, 80), QPoint(224, 95)})
        EXPECT_TRUE(isAccent(point.x(), point.y())) << point.x() << "," << point.y();
    // Nothing else in the picture is drawn in the accent this strongly.
    int accentOutside = 0;
    for (int y = 0; y < panel.height(); y += 2) {
        for (int x = 0; x < panel.width(); x += 2) {
            if ((x < 200 || x > 248 || y < 56 || y > 104) && isAccent(x, y)) ++accentOutside;
        }
    }
    EXPECT_LT(accentOutside, 20);
}

TEST(ProgramIcon, TheScalableIconLiesBesideThePictures) {
    EXPECT_TRUE(QFileInfo(kProgramFolder + skin::kSkinFolder + skin::kProgramIconSvg).isFile());
}

TEST(ProgramIcon, TheWindowIconHasEveryDrawnSize) {
    const QIcon icon = skin::LoadProgramIcon(kProgramFolder);
    QList<QSize> expected;
    for (const int size : skin::kProgramIconSizes) expected.append(QSize(size, size));
    EXPECT_EQ(icon.availableSizes(), expected);
}

}  // namespace
}  // namespace kestrova
