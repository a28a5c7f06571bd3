// The options dialog through its real widgets: the profile it starts with, profiles chosen
// in the picker, Save As, Rename and Delete on the store, the output folder, and what the
// further pages put into the engine's records.
#include "profiles/dialog/PageTabs.h"
#include "profiles/dialog/ProfileComboBox.h"
#include "profiles/picker/ProfileComboItems.h"
#include "profiles/store/CurrentProfile.h"
#include "profiles/store/ProfileDocument.h"
#include "tests/profiles/ProfileWindowsFixture.h"
#include "ui/skin/SkinComboBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace kestrova::test {

namespace {

QByteArray AviProfileXml() {
    return ProfileXml("avi", "avi",
                      {{"videosize", "Auto - Original,640x480 - vga", "640x480 - vga"},
                       {"videobitrate", "512,1024", "1024"},
                       {"videoframerate", "Auto,30", "Auto"},
                       {"videoaspectratio", "Auto", "Auto"},
                       {"videocodec", "MPEG4,MSMPEG4V2", "msmpeg4v2"},
                       {"audiochannel", "2", "2"},
                       {"audiobitrate", "128,192", "192"},
                       {"audiosamplerate", "44100,48000", "48000"},
                       {"audiovolume", "100", "100"},
                       {"audiocodec", "MP3", "mp3"}});
}

TProfileEntry UserEntry() {
    return {QStringLiteral("Mine-1(*.mp4)"), QStringLiteral("mine"), QStringLiteral("profile_mp4.png"),
            QStringLiteral("userdefined/mine.xml")};
}

QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int item = 0; item < combo.count(); ++item) items << combo.itemText(item);
    return items;
}

class OptionFrmTest : public ProfileWindowsTest {
protected:
    OptionFrmTest() {
        WriteFile("profiles/mp4.xml", Mp4ProfileXml());
        WriteFile("profiles/avi.xml", AviProfileXml());
        WriteIndex("recent.xml", {AviEntry(), Mp4Entry()});
    }

    QComboBox& Combo(const char* name) { return *InDialog<QComboBox>(QLatin1String(name)); }
    QAction& MenuItem(const char* name) { return *InDialog<QAction>(QLatin1String(name)); }
    // Opens the Save As menu the way its button does, which settles which items apply.
    void PrepareMenu() { emit InDialog<QMenu>(QStringLiteral("popmnuProfileSave"))->aboutToShow(); }
    void Click(const char* button) { InDialog<QPushButton>(QLatin1String(button))->click(); }
    void Check(const char* box, bool on = true) {
        InDialog<QAbstractButton>(QLatin1String(box))->setChecked(on);
    }
    void Type(const char* edit, const QString& text) {
        InDialog<QLineEdit>(QLatin1String(edit))->setText(text);
    }
    bool Enabled(const char* name) { return InDialog<QWidget>(QLatin1String(name))->isEnabled(); }

    void UseUserProfile() {
        WriteFile("profiles/userdefined/mine.xml", Mp4ProfileXml());
        WriteIndex("userdefined.xml", {UserEntry()});
        WriteIndex("recent.xml", {Mp4Entry(), UserEntry()});
    }
};

TEST_F(OptionFrmTest, StartsWithTheNewestRecentProfileAndItsDefaults) {
    TfrmOption& dialog = Dialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Output Options"));
    EXPECT_EQ(dialog.size(), QSize(560, 400));
    QComboBox& profile = Combo("cboProfile");
    ASSERT_EQ(profile.count(), 2);
    EXPECT_EQ(profile.currentText(), Mp4Entry().ProfileName);
    EXPECT_FALSE(profile.itemIcon(0).isNull()) << "the recent group's picture";
    EXPECT_EQ(ProfileComboPath(profile), ProfilesPath("mp4.xml"));
    EXPECT_EQ(CurrentProfile(), Mp4Entry());

    const struct {
        const char* Combo;
        const char* Items;
        const char* Selected;
    } rows[] = {{"cboVideoFrameSize", "Auto - Original|320x240 - qvga|640x480 - vga", "320x240 - qvga"},
                {"cboVideoBitRate", "Auto|384|768", "768"},
                {"cboFrameRate", "Auto|25|29.97", "25"},
                {"cboAspectRatio", "Auto|4:3|16:9", "4:3"},
                {"cboVideoCodec", "MPEG4|libx264", "MPEG4"},  // default "mpeg4": letter case ignored
                {"cboAudioChannels", "1|2", "2"},
                {"cboAudioBitRate", "64|128", "128"},
                {"cboAudioSampleRate", "22050|44100", "44100"},
                {"cboAudioVolume", "50|100|200", "100"},
                {"cboAudioCodec", "AAC", "AAC"}};
    for (const auto& row : rows) {
        EXPECT_EQ(Items(Combo(row.Combo)).join('|'), QLatin1String(row.Items)) << row.Combo;
        EXPECT_EQ(Combo(row.Combo).currentText(), QLatin1String(row.Selected)) << row.Combo;
    }
    EXPECT_EQ(dialog.ProfileFormat(), QStringLiteral("mp4"));
    EXPECT_TRUE(dialog.IsBuiltInProfile());
    EXPECT_TRUE(InDialog<QRadioButton>(QStringLiteral("rdoNormPAL"))->isChecked());
    EXPECT_TRUE(Enabled("btnOk"));
    EXPECT_EQ(InDialog<QLineEdit>(QStringLiteral("edtOutPath"))->text(), OutputFolder + '/');
    EXPECT_EQ(ReadIndex("recent.xml"), (std::vector<TProfileEntry>{AviEntry(), Mp4Entry()}))
            << "a profile already listed stays where it is";
    SaveScreenshot(dialog, QStringLiteral("dialog-basic"));
}

TEST_F(OptionFrmTest, ADefaultOutsideTheCandidatesSelectsNothingAndBuildsFromTheSource) {
    WriteFile("profiles/mp4.xml", ProfileXml("mp4", "mp4", {{"videobitrate", "384,768", "999"}}));
    EXPECT_EQ(Combo("cboVideoBitRate").currentIndex(), -1);
    EXPECT_EQ(Dialog().Choices().Parameters[TParameter::VideoBitrate], std::nullopt);
}

TEST_F(OptionFrmTest, WithoutALoadableRecentProfileTheDefaultIsShownAndSaveSavesIt) {
    const TProfileEntry gone{QStringLiteral("Gone(*.mkv)"), {}, {}, QStringLiteral("gone.xml")};
    WriteIndex("recent.xml", {Mp4Entry(), gone});
    EXPECT_EQ(Combo("cboProfile").count(), 0) << "no default profile either";
    EXPECT_FALSE(Enabled("btnOk"));
    DropDialog();
    WriteIndex("recent.xml", {});  // a first run
    WriteFile("profiles/wmv.xml", Mp4ProfileXml());
    EXPECT_EQ(ProfileComboPath(Combo("cboProfile")), ProfilesPath("wmv.xml"));
    Environment.Prompt().Answer = QStringLiteral("first");
    PrepareMenu();
    MenuItem("mnuSaveProfile").trigger();
    EXPECT_TRUE(Exists("profiles/userdefined/first.xml"));
}

TEST_F(OptionFrmTest, AProfileChosenInThePickerIsLoadedIntoTheDialogThatOpenedIt) {
    WriteIndex("recent.xml", {Mp4Entry()});
    TfrmOption& dialog = Dialog();
    TfrmOption other(Picker(), OutputFolder);
    auto& profile = *InDialog<TProfileComboBox>(QStringLiteral("cboProfile"));
    dialog.show();  // modal, as the main window shows it
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Clicks through the window system, which holds back input to windows a modal one blocks.
    QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {},
                      profile.mapTo(&dialog, profile.rect().center()));
    ASSERT_TRUE(Picker().isVisible());
    EXPECT_EQ(Picker().TargetCombo(), &profile);
    EXPECT_TRUE(profile.DrawnPressed());

    auto& generalVideo = *Find<QListWidget>(Picker(), QStringLiteral("RightMenu1"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Picker()));
    const QRect avi = generalVideo.visualItemRect(generalVideo.item(2));  // avi.xml
    QTest::mouseClick(Picker().windowHandle(), Qt::LeftButton, {},
                      generalVideo.viewport()->mapTo(&Picker(), avi.center()));
    EXPECT_FALSE(Picker().isVisible());
    EXPECT_FALSE(profile.DrawnPressed());
    EXPECT_EQ(ProfileComboPath(profile), ProfilesPath("avi.xml"));
    EXPECT_EQ(Combo("cboVideoCodec").currentText(), QStringLiteral("MSMPEG4V2"));
    EXPECT_EQ(dialog.ProfileFormat(), QStringLiteral("avi"));
    EXPECT_EQ(ReadIndex("recent.xml").back().ProfileFile, QStringLiteral("avi.xml"))
            << "the choice is recorded";
    auto& otherCodec = *Find<QComboBox>(other, QStringLiteral("cboVideoCodec"));
    EXPECT_EQ(otherCodec.currentText(), QStringLiteral("MPEG4")) << "the other dialog keeps its profile";

    QTest::mouseClick(&profile, Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(Picker().isVisible());
    EXPECT_FALSE(profile.DrawnPressed());
    EXPECT_EQ(dialog.ProfileFormat(), QStringLiteral("avi"));
}

TEST_F(OptionFrmTest, TheProfileComboNeverOffersItsPathAsAChoice) {
    auto& profile = *InDialog<TProfileComboBox>(QStringLiteral("cboProfile"));
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Slash}) {
        QTest::keyClick(&profile, key);
        EXPECT_EQ(profile.currentIndex(), 0) << key;
    }
    QWheelEvent wheel(QPointF(5, 5), profile.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&profile, &wheel);
    EXPECT_EQ(profile.currentIndex(), 0);
    EXPECT_FALSE(Picker().isVisible());
    QTest::keyClick(&profile, Qt::Key_F4);
    EXPECT_TRUE(Picker().isVisible());
}

TEST_F(OptionFrmTest, SaveAsWritesTheShownValuesAsAUserProfileTheRecentListAndPickerSee) {
    Dialog();
    Combo("cboVideoBitRate").setCurrentText(QStringLiteral("384"));
    Environment.Prompt().Answer = QStringLiteral("phone");
    PrepareMenu();
    ASSERT_TRUE(MenuItem("mnuSaveProfile").isEnabled());
    MenuItem("mnuSaveProfile").trigger();

    ASSERT_EQ(Environment.Prompt().Questions.size(), 1u);
    EXPECT_EQ(Environment.Prompt().Questions[0][0], QStringLiteral("Profile SaveAs"));
    TProfileDocument saved;
    ASSERT_TRUE(saved.Load(ProfilesPath("userdefined/phone.xml")));
    EXPECT_EQ(saved.DefaultValue(QStringLiteral("videobitrate")), QStringLiteral("384"));
    EXPECT_EQ(saved.DefaultValue(QStringLiteral("videocodec")), QStringLiteral("MPEG4"));
    const std::vector<TProfileEntry> user = ReadIndex("userdefined.xml");
    ASSERT_EQ(user.size(), 1u);
    EXPECT_EQ(user[0].ProfileName, QStringLiteral("phone(*.mp4)"));
    EXPECT_EQ(user[0].ProfileFile, QStringLiteral("userdefined/phone.xml"));
    EXPECT_EQ(Find<QListWidget>(Picker(), QStringLiteral("RightMenu17"))->count(), 1)
            << "the picker's user list was rebuilt";
    EXPECT_TRUE(Dialog().IsBuiltInProfile()) << "the dialog keeps the built-in profile";
}

// Another dialog choosing a profile makes it the process's current one; each dialog's menu
// still acts on the profile it shows.
struct TOperationCase {
    const char* Name;
    bool UserProfile;  // the first dialog shows the user profile Mine (else the built-in MPEG-4)
    const char* Menu;
    const char* Listed;  // userdefined.xml's names afterwards, joined by "|"
};

class TwoDialogsTest : public OptionFrmTest, public ::testing::WithParamInterface<TOperationCase> {};

TEST_P(TwoDialogsTest, TheMenuActsOnTheProfileItsDialogShows) {
    if (GetParam().UserProfile) UseUserProfile();
    const TProfileEntry other{
            QStringLiteral("Other(*.avi)"), {}, {}, QStringLiteral("userdefined/other.xml")};
    WriteIndex("userdefined.xml", {UserEntry(), other});
    Dialog();
    WriteFile("profiles/userdefined/other.xml", AviProfileXml());
    WriteIndex("recent.xml", {Mp4Entry(), other});
    TfrmOption second(Picker(), OutputFolder);
    Environment.Prompt().Answer = QStringLiteral("made");
    PrepareMenu();
    MenuItem(GetParam().Menu).trigger();
    QStringList listed;
    for (const TProfileEntry& entry : ReadIndex("userdefined.xml")) listed << entry.ProfileName;
    EXPECT_EQ(listed.join('|').toStdString(), GetParam().Listed);
}

INSTANTIATE_TEST_SUITE_P(
        Operations, TwoDialogsTest,
        ::testing::Values(TOperationCase{"Delete", true, "mnuDeleteProfile", "Other(*.avi)"},
                          TOperationCase{"Rename", true, "mnuRenameProfile", "made(*.mp4)|Other(*.avi)"},
                          TOperationCase{"SaveAs", false, "mnuSaveProfile",
                                         "Mine-1(*.mp4)|Other(*.avi)|made(*.mp4)"}),
        [](const ::testing::TestParamInfo<TOperationCase>& info) { return std::string(info.param.Name); });

// A chosen profile that cannot be loaded: the message names its file, and the dialog goes on
// showing, and converting with, the profile it had.
class UnloadableChoiceTest : public OptionFrmTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnloadableChoiceTest, KeepsTheProfileInUse) {
    if (*GetParam()) WriteFile("profiles/chosen.xml", GetParam());
    auto& profile = *InDialog<TProfileComboBox>(QStringLiteral("cboProfile"));
    CurrentProfile() = {QStringLiteral("Chosen(*.mkv)"), {}, {}, QStringLiteral("chosen.xml")};
    FillProfileCombo(profile, CurrentProfile().ProfileName, QIcon(), ProfilesPath("chosen.xml"));
    emit Picker().ProfileChosen(&profile);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_TRUE(Errors[0].Text.contains(ProfilesPath("chosen.xml"))) << Errors[0].Text.toStdString();
    EXPECT_EQ(profile.currentText(), Mp4Entry().ProfileName);
    EXPECT_EQ(Dialog().BuildOutputOptions().FileFormat, "mp4");
}

INSTANTIATE_TEST_SUITE_P(Files, UnloadableChoiceTest, ::testing::Values("", "<profile><Main>"));

struct TMenuCase {
    bool UserProfile;
    bool Save, Rename, Delete;
};

void PrintTo(const TMenuCase& menu, std::ostream* out) {
    *out << (menu.UserProfile ? "user profile" : "built-in profile");
}

class ProfileMenuTest : public OptionFrmTest, public ::testing::WithParamInterface<TMenuCase> {};

TEST_P(ProfileMenuTest, OffersOnlyWhatTheLoadedProfileAllows) {
    if (GetParam().UserProfile) UseUserProfile();
    EXPECT_EQ(Dialog().IsBuiltInProfile(), !GetParam().UserProfile);
    PrepareMenu();
    EXPECT_EQ(MenuItem("mnuSaveProfile").isEnabled(), GetParam().Save);
    EXPECT_EQ(MenuItem("mnuRenameProfile").isEnabled(), GetParam().Rename);
    EXPECT_EQ(MenuItem("mnuDeleteProfile").isEnabled(), GetParam().Delete);
}

INSTANTIATE_TEST_SUITE_P(Profiles, ProfileMenuTest,
                         ::testing::Values(TMenuCase{false, true, false, false},
                                           TMenuCase{true, false, true, true}));

TEST_F(OptionFrmTest, AUserProfileIsRenamedAndDeletedThroughTheMenu) {
    UseUserProfile();
    Dialog();
    Environment.Prompt().Answer = QStringLiteral("renamed");
    PrepareMenu();
    MenuItem("mnuRenameProfile").trigger();
    EXPECT_TRUE(Exists("profiles/userdefined/renamed.xml"));
    EXPECT_FALSE(Exists("profiles/userdefined/mine.xml"));
    EXPECT_EQ(ProfileComboPath(Combo("cboProfile")), ProfilesPath("userdefined/renamed.xml"));
    EXPECT_EQ(ReadIndex("userdefined.xml").at(0).ProfileFile, QStringLiteral("userdefined/renamed.xml"));

    PrepareMenu();
    MenuItem("mnuDeleteProfile").trigger();
    EXPECT_FALSE(Exists("profiles/userdefined/renamed.xml"));
    EXPECT_TRUE(ReadIndex("userdefined.xml").empty());
    EXPECT_EQ(Find<QListWidget>(Picker(), QStringLiteral("RightMenu17"))->count(), 0);
}

struct TBrowseCase {
    const char* Name;
    const char* Answer;  // below the test's folder; nullptr: the user cancels
    bool OnDisc;
    const char* Shown;  // edtOutPath afterwards, below the test's folder; nullptr: unchanged
    const char* Message;
};

void PrintTo(const TBrowseCase& browse, std::ostream* out) {
    *out << browse.Name;
}

class BrowseTest : public OptionFrmTest, public ::testing::WithParamInterface<TBrowseCase> {};

TEST_P(BrowseTest, TakesTheChosenFolderUnlessItIsOnADisc) {
    const TBrowseCase& browse = GetParam();
    const QString before = InDialog<QLineEdit>(QStringLiteral("edtOutPath"))->text();
    if (browse.Answer) Environment.Browser().Answer = Environment.MakeFolder(QLatin1String(browse.Answer));
    if (browse.OnDisc) Drives().CdRomFolders << Environment.Browser().Answer;
    Click("btnOutPath");

    ASSERT_EQ(Environment.Browser().Requests.size(), 1u);
    EXPECT_EQ(Environment.Browser().Requests[0].Title, QStringLiteral("Select Output Folder"));
    EXPECT_EQ(Environment.Browser().Requests[0].StartFolder, before);
    EXPECT_TRUE(Environment.Browser().Requests[0].CentreOnScreen);
    const QString shown = browse.Shown ? Environment.Path(QLatin1String(browse.Shown)) : before;
    EXPECT_EQ(InDialog<QLineEdit>(QStringLiteral("edtOutPath"))->text(), shown);
    ASSERT_EQ(Informations.size(), browse.Message ? 1u : 0u);
    if (browse.Message) {
        EXPECT_EQ(Informations[0].Text, QLatin1String(browse.Message));
        EXPECT_EQ(Informations[0].Caption, QStringLiteral("Orvanta Kestrova"));
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, BrowseTest,
                         ::testing::Values(TBrowseCase{"Cancelled", nullptr, false, nullptr, nullptr},
                                           TBrowseCase{"Chosen", "elsewhere", false, "elsewhere/", nullptr},
                                           TBrowseCase{"OnDisc", "media/cdrom", true, nullptr,
                                                       "Output folder cannot be located in CD-ROM."}),
                         [](const ::testing::TestParamInfo<TBrowseCase>& info) {
                             return std::string(info.param.Name);
                         });

TEST_F(OptionFrmTest, OkIsRefusedWhileTheOutputFolderLiesOnADisc) {
    TfrmOption& dialog = Dialog();
    dialog.open();
    Drives().CdRomFolders << OutputFolder;
    Click("btnOk");
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(Informations.size(), 1u);
    EXPECT_EQ(Informations[0].Text,
              QStringLiteral("Input folder is located in CD-ROM, please select output folder."));
    EXPECT_EQ(dialog.focusWidget(), InDialog<QWidget>(QStringLiteral("btnOutPath")));

    Drives().CdRomFolders.clear();
    Click("btnOk");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// A folder chosen and gone since (or read-only) is refused even to root.
TEST_F(OptionFrmTest, OkIsRefusedForAnOutputFolderThatCannotBeWrittenTo) {
    TfrmOption& dialog = Dialog();
    dialog.open();
    const QString gone = QDir::cleanPath(OutputFolder + QStringLiteral("/gone"));
    InDialog<QLineEdit>(QStringLiteral("edtOutPath"))->setText(gone + QLatin1Char('/'));
    Click("btnOk");
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(Informations.size(), 1u);
    EXPECT_EQ(Informations[0].Text, QStringLiteral("Cannot write to the folder %1.").arg(gone));
    EXPECT_EQ(dialog.focusWidget(), InDialog<QWidget>(QStringLiteral("btnOutPath")));
}

TEST_F(OptionFrmTest, EffectsReachTheOutputRecord) {
    const std::pair<const char*, const char*> followers[] = {
            {"chkScale", "edtScale"},  {"chkRotate", "edtRotate"},  {"chkSetPTS", "edtSetPTS"},
            {"chkCrop", "edtCropTop"}, {"chkCrop", "edtCropRight"}, {"chkPad", "edtPadBottom"},
            {"chkPad", "edtPadLeft"},
    };
    for (const auto& [check, edit] : followers) {
        EXPECT_FALSE(Enabled(edit)) << edit;
        Check(check);
        EXPECT_TRUE(Enabled(edit)) << edit;
        Check(check, false);
    }
    Check("chkVertFlip");
    Check("chkRotate");
    Type("edtRotate", QStringLiteral("90"));
    Check("chkCrop");
    Type("edtCropTop", QStringLiteral("8"));
    Type("edtCropLeft", QStringLiteral("4"));
    Check("chkPad");
    Type("edtPadBottom", QStringLiteral("10"));
    Check("chkCopyTimestamp");
    EXPECT_FALSE(Enabled("rdoNormNTSC")) << "the norm acts on disc profiles only";
    Dialog().SetCurrentPage(TfrmOption::TPage::Effects);
    SaveScreenshot(Dialog(), QStringLiteral("dialog-effects"));

    const TOutputOptions options = Dialog().BuildOutputOptions();
    EXPECT_EQ(options.VideoFilters, "vflip,rotate=90*PI/180");
    EXPECT_EQ((std::array{options.CropTop, options.CropBottom, options.CropLeft, options.CropRight}),
              (std::array{8, 0, 4, 0}));
    EXPECT_EQ((std::array{options.PadTop, options.PadBottom, options.PadLeft, options.PadRight}),
              (std::array{0, 10, 0, 0}));
    EXPECT_TRUE(options.CopyTimestamps);
    EXPECT_EQ(options.Target, 0);
    EXPECT_EQ(options.VideoCodec, "mpeg4");
    EXPECT_EQ(options.FileFormat, "mp4");
}

struct THookCase {
    const char* Name;
    QStringList Modules;
    QStringList Checked;
    bool Custom;
    QStringList Enabled;  // of the hook boxes and the boxes and edits that belong to them
    int HookLines;
};

void PrintTo(const THookCase& hooks, std::ostream* out) {
    *out << hooks.Name;
}

const QStringList kHookControls = {
        "chkImlib2Img",    "chkImgDancing",    "chkImlib2Txt",     "edtImlib2Txt",     "chkTxtScrolling",
        "chkWaterMark",    "chkWaterMarkMode", "chkVantelHookImg", "chkVantelHookTxt", "edtVantelHookTxt",
        "rdoStandardHook", "rdoBeforeHook",    "rdoPTSs",          "edtPTSs"};
const QStringList kBehaviours = {"rdoStandardHook", "rdoBeforeHook", "rdoPTSs"};
const QStringList kAllModules = {"imlib2.so", "watermark.so", "VantelHook.so"};

class HookRulesTest : public OptionFrmTest, public ::testing::WithParamInterface<THookCase> {};

TEST_P(HookRulesTest, HooksAreOfferedByTheirModulesAndTheirOptionsByTheirHook) {
    const THookCase& hooks = GetParam();
    InstallHookModules(hooks.Modules);
    for (const QString& box : hooks.Checked) Check(box.toLatin1().constData());
    if (hooks.Custom) Check("rdoCustomHook");
    for (const QString& control : kHookControls)
        EXPECT_EQ(Enabled(control.toLatin1().constData()), hooks.Enabled.contains(control))
                << control.toStdString();

    Type("edtImlib2Txt", QStringLiteral("  "));
    const TOutputOptions options = Dialog().BuildOutputOptions();
    EXPECT_EQ(QString::fromStdString(options.ExtOptions).count(QStringLiteral("vhook=")), hooks.HookLines);
    EXPECT_EQ(options.CustomHook, hooks.Custom);
    if (hooks.Name == std::string("TextAndWatermark")) {
        EXPECT_EQ(InDialog<QLineEdit>(QStringLiteral("edtImlib2Txt"))->text(), QStringLiteral("Kestrova"))
                << "an empty text draws the default, and the edit says so";
        Click("btnPTSs");
        ASSERT_EQ(Informations.size(), 1u);
        EXPECT_EQ(Informations[0].Caption, QStringLiteral("Video Hook PTS Periods"));
        EXPECT_TRUE(
                Informations[0].Text.startsWith(QStringLiteral("Enable Video Hook only in special periods")));
        Dialog().SetCurrentPage(TfrmOption::TPage::Hooks);
        SaveScreenshot(Dialog(), QStringLiteral("dialog-hooks"));
    }
}

INSTANTIATE_TEST_SUITE_P(
        Hooks, HookRulesTest,
        ::testing::Values(
                THookCase{"NoModules", {}, {}, false, {}, 0},
                THookCase{"ModulesNothingChecked",
                          kAllModules,
                          {},
                          false,
                          {"chkImlib2Img", "chkImlib2Txt", "chkWaterMark", "chkVantelHookImg",
                           "chkVantelHookTxt"},
                          0},
                THookCase{"TextAndWatermark",
                          kAllModules,
                          {"chkImlib2Txt", "chkWaterMark"},
                          false,
                          QStringList{"chkImlib2Img", "chkImlib2Txt", "edtImlib2Txt", "chkTxtScrolling",
                                      "chkWaterMark", "chkWaterMarkMode", "chkVantelHookImg",
                                      "chkVantelHookTxt"}
                                  << kBehaviours,
                          2},
                // The periods follow the hook line (the engine runs the hook inside them only).
                THookCase{"PtsPeriods",
                          {"watermark.so"},
                          {"chkWaterMark", "rdoPTSs"},
                          false,
                          QStringList{"chkWaterMark", "chkWaterMarkMode", "edtPTSs"} << kBehaviours,
                          1},
                THookCase{"CustomHookInstead", kAllModules, {"chkImlib2Txt", "chkWaterMark"}, true, {}, 0},
                THookCase{"OnlyTheWatermarkModule",
                          {"watermark.so"},
                          {"chkWaterMark", "chkVantelHookTxt"},
                          false,
                          QStringList{"chkWaterMark", "chkWaterMarkMode"} << kBehaviours,
                          1}),
        [](const ::testing::TestParamInfo<THookCase>& info) { return std::string(info.param.Name); });

TEST_F(OptionFrmTest, FooterTabsAndKeysSwitchThePages) {
    TfrmOption& dialog = Dialog();
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    InDialog<QAbstractButton>(QStringLiteral("tabHooks"))->click();
    EXPECT_EQ(dialog.CurrentPage(), TfrmOption::TPage::Hooks);
    EXPECT_TRUE(InDialog<QWidget>(QStringLiteral("grpHook"))->isVisible());
    EXPECT_FALSE(InDialog<QWidget>(QStringLiteral("cboVideoCodec"))->isVisible());
    QTest::keyClick(&dialog, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(dialog.CurrentPage(), TfrmOption::TPage::Basic);
    QTest::keyClick(&dialog, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialog.CurrentPage(), TfrmOption::TPage::Hooks);
}

}  // namespace

}  // namespace kestrova::test
