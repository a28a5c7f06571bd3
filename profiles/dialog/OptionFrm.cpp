#include "profiles/dialog/OptionFrm.h"

#include "engine/frame/AVProbe.h"
#include "platform/Services.h"
#include "profiles/dialog/EffectsPage.h"
#include "profiles/dialog/HooksPage.h"
#include "profiles/dialog/InformationBox.h"
#include "profiles/dialog/OptionPagesLayout.h"
#include "profiles/dialog/PageTabs.h"
#include "profiles/dialog/PreviewTrimPage.h"
#include "profiles/dialog/ProfileComboBox.h"
#include "profiles/options/DiscTarget.h"
#include "profiles/options/OptionBuilder.h"
#include "profiles/options/ProfileChoices.h"
#include "profiles/options/SourceFromProbe.h"
#include "profiles/picker/ListMenu.h"
#include "profiles/picker/ProfileComboItems.h"
#include "profiles/store/CurrentProfile.h"
#include "profiles/store/GroupList.h"
#include "profiles/store/IndexFiles.h"
#include "shell/ErrorDisplay.h"
#include "shell/FolderAccess.h"
#include "shell/OutputFolder.h"
#include "shell/Prompts.h"
#include "shell/ShellCommands.h"
#include "shell/WindowPlacement.h"
#include "ui/skin/OutputOptionsLayout.h"
#include "ui/skin/SkinDropButton.h"
#include "ui/skin/SkinPalette.h"
#include "ui/skin/SkinPictures.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTimer>

#include <stdexcept>

namespace kestrova {

namespace {

// The ten parameter rows: the five video parameters down the left card, the five audio
// parameters down the right one. Combo "cbo" + name, label "lbl" + name.
struct TParameterRow {
    TParameter Parameter;
    const char* Name;
    const char* Caption;
    bool Audio;
    int Row;
};

constexpr TParameterRow kParameterRows[kParameterCount] = {
        {TParameter::VideoSize, "VideoFrameSize", "Video Size:", false, 0},
        {TParameter::VideoBitrate, "VideoBitRate", "Video Bitrate:", false, 1},
        {TParameter::FrameRate, "FrameRate", "Frame Rate:", false, 2},
        {TParameter::AspectRatio, "AspectRatio", "Aspect Ratio:", false, 3},
        {TParameter::VideoCodec, "VideoCodec", "Video Codec:", false, 4},
        {TParameter::AudioChannels, "AudioChannels", "Audio Channel:", true, 0},
        {TParameter::AudioBitrate, "AudioBitRate", "Audio Bitrate:", true, 1},
        {TParameter::AudioSampleRate, "AudioSampleRate", "Sample Rate:", true, 2},
        {TParameter::AudioVolume, "AudioVolume", "Audio Volume:", true, 3},
        {TParameter::AudioCodec, "AudioCodec", "Audio Codec:", true, 4},
};

const QStringList kPageCaptions = {QStringLiteral("Basic"), QStringLiteral("Preview and Trim"),
                                   QStringLiteral("Effects"), QStringLiteral("Video Hooks")};
const QStringList kPageTabNames = {QStringLiteral("tabBasic"), QStringLiteral("tabPreview"),
                                   QStringLiteral("tabEffects"), QStringLiteral("tabHooks")};
const QColor kPlainBackground(0xF4, 0xF7, 0xFA);

template <class Widget>
Widget* Place(Widget* widget, const QString& name, const QRect& geometry) {
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* button = Place(new QPushButton(caption, parent), QLatin1String(name), geometry);
    button->setAutoDefault(false);
    return button;
}

QString WithTrailingSeparator(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// Selects the saved item; one the profile no longer offers is added, so that the row converts
// as it was queued.
void SelectSavedItem(QComboBox& combo, const std::optional<QString>& item) {
    if (!item) {
        combo.setCurrentIndex(-1);
        return;
    }
    int index = combo.findText(*item);
    if (index < 0) {
        combo.addItem(*item);
        index = combo.count() - 1;
    }
    combo.setCurrentIndex(index);
}

}  // namespace

TfrmOption::TfrmOption(TListMenu& picker, const QString& configuredOutputFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      FPicker(picker),
      FStore(
              picker.Paths(),
              [this](const QString& caption, const QString& prompt, const QString& initialText) {
                  return AskForText(this, caption, prompt, initialText);
              },
              FShownProfile) {
    FStore.SetOnListsChanged([this] { FPicker.ReloadLists(); });
    FormCreate();
    ResolveOutputPath(configuredOutputFolder);
    SelectRecentProfile();
}

TfrmOption::~TfrmOption() {
    // A picker still open for this dialog's combo must not fill it once it is gone.
    if (FPicker.TargetCombo() == cboProfile) {
        FPicker.SetTargetCombo(nullptr);
        FPicker.hide();
    }
}

void TfrmOption::FormCreate() {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("Output Options"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(skin::kOutputOptionsSize);
    setModal(true);
    LoadBackgrounds();

    FPages = Place(new QStackedWidget(this), QStringLiteral("pnlPages"), optionpages::kPageArea);
    auto* basic = new QWidget;
    basic->setObjectName(QStringLiteral("pgeBasic"));
    CreateBasicPage(basic);
    FPreviewPage = new TPreviewTrimPage;
    FEffectsPage = new TEffectsPage;
    FHooksPage = new THooksPage(FStore.Paths().ModuleFolder());
    for (QWidget* page : {basic, static_cast<QWidget*>(FPreviewPage), static_cast<QWidget*>(FEffectsPage),
                          static_cast<QWidget*>(FHooksPage)})
        FPages->addWidget(page);
    CreateFooter();

    connect(&FPicker, &TListMenu::ProfileChosen, this, &TfrmOption::PickerProfileChosen);
    connect(&FPicker, &TListMenu::PickerClosed, this, &TfrmOption::PickerClosed);
}

void TfrmOption::LoadBackgrounds() {
    const QLatin1String names[] = {skin::kOutputOptionsBackground, optionpages::kPreviewBackground,
                                   optionpages::kEffectsBackground, optionpages::kHooksBackground};
    for (std::size_t page = 0; page < FBackgrounds.size(); ++page)
        FBackgrounds[page] = QPixmap(FStore.Paths().IconFile(names[page]));
}

void TfrmOption::CreateBasicPage(QWidget* page) {
    const QPixmap face(FStore.Paths().IconFile(skin::kProfileFace));
    cboProfile = Place(new TProfileComboBox(page), QStringLiteral("cboProfile"), skin::kProfileComboRect);
    cboProfile->SetFacePicture(face);
    connect(cboProfile, &TProfileComboBox::DropDownRequested, this, &TfrmOption::cboProfileDropDown);

    btnSaveProfile = Place(new TSkinDropButton(QStringLiteral("Save As..."), page),
                           QStringLiteral("btnSaveProfile"), skin::kSaveProfileRect);
    btnSaveProfile->SetFacePicture(face);
    btnSaveProfile->setAutoDefault(false);
    popmnuProfileSave = new QMenu(btnSaveProfile);
    popmnuProfileSave->setObjectName(QStringLiteral("popmnuProfileSave"));
    mnuSaveProfile =
            popmnuProfileSave->addAction(QStringLiteral("Save..."), this, &TfrmOption::mnuSaveProfileClick);
    mnuSaveProfile->setObjectName(QStringLiteral("mnuSaveProfile"));
    mnuRenameProfile =
            popmnuProfileSave->addAction(QStringLiteral("Rename"), this, &TfrmOption::mnuRenameProfileClick);
    mnuRenameProfile->setObjectName(QStringLiteral("mnuRenameProfile"));
    mnuDeleteProfile =
            popmnuProfileSave->addAction(QStringLiteral("Delete"), this, &TfrmOption::mnuDeleteProfileClick);
    mnuDeleteProfile->setObjectName(QStringLiteral("mnuDeleteProfile"));
    connect(popmnuProfileSave, &QMenu::aboutToShow, this, &TfrmOption::popmnuProfileSavePopup);
    btnSaveProfile->setMenu(popmnuProfileSave);

    chkUseForRemaining =
            Place(new QCheckBox(page), QStringLiteral("chkUseForRemaining"), skin::kUseForRemainingRect);
    chkUseForRemaining->hide();

    edtOutPath = Place(new QLineEdit(page), QStringLiteral("edtOutPath"), skin::kOutputFolderRect);
    edtOutPath->setReadOnly(true);
    edtOutPath->setPalette(skin::ReadOnlyFieldPalette(edtOutPath->palette()));
    btnOutPath = MakeButton(page, "btnOutPath", QStringLiteral("Browse"), skin::kBrowseFolderRect);
    btnOpenPath = MakeButton(page, "btnOpenPath", QStringLiteral("Open"), skin::kOpenFolderRect);
    connect(btnOutPath, &QPushButton::clicked, this, &TfrmOption::btnOutPathClick);
    connect(btnOpenPath, &QPushButton::clicked, this, &TfrmOption::btnOpenPathClick);
    CreateParameterRows(page, face);
}

void TfrmOption::CreateParameterRows(QWidget* page, const QPixmap& face) {
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const TParameterRow& row = kParameterRows[i];
        const QString name = QLatin1String(row.Name);
        auto* label = Place(new QLabel(QLatin1String(row.Caption), page), QStringLiteral("lbl") + name,
                            skin::ParameterLabelRect(row.Audio, row.Row));
        auto* combo = Place(new TSkinComboBox(page), QStringLiteral("cbo") + name,
                            skin::ParameterComboRect(row.Audio, row.Row));
        combo->SetFacePicture(face);
        label->setBuddy(combo);
        FParameters[i] = {row.Parameter, label, combo};
    }
}

void TfrmOption::CreateFooter() {
    FTabs = new TPageTabs(kPageCaptions, kPageTabNames, this);
    FTabs->setObjectName(QStringLiteral("tabPages"));
    FTabs->move(optionpages::kTabsAt);
    connect(FTabs, &TPageTabs::CurrentChanged, this, &TfrmOption::PageChanged);
    btnOk = MakeButton(this, "btnOk", QStringLiteral("OK"), skin::kOkRect);
    btnOk->setDefault(true);
    // Nothing can be converted before a profile has been loaded.
    btnOk->setEnabled(false);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("Cancel"), skin::kCancelRect);
    connect(btnOk, &QPushButton::clicked, this, &TfrmOption::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    const int pageCount = static_cast<int>(kPageCaptions.size());
    auto* next = new QShortcut(QKeySequence::NextChild, this);
    connect(next, &QShortcut::activated, this,
            [this, pageCount] { FTabs->SetCurrent((FTabs->Current() + 1) % pageCount); });
    auto* previous = new QShortcut(QKeySequence::PreviousChild, this);
    connect(previous, &QShortcut::activated, this,
            [this, pageCount] { FTabs->SetCurrent((FTabs->Current() + pageCount - 1) % pageCount); });
}

void TfrmOption::ResolveOutputPath(const QString& configuredOutputFolder) {
    QString folder;
    // Without any usable folder the outputs go beside their sources.
    if (RunShowingErrors([&] { folder = ResolveOutputFolder(configuredOutputFolder); }))
        edtOutPath->setText(folder);
    else
        edtOutPath->setText(kSameAsInput);
}

void TfrmOption::SelectRecentProfile() {
    const std::vector<TProfileEntry> recent = LoadRecentProfiles(FStore.Paths()).Entries();
    if (!recent.empty()) {
        CurrentProfile() = recent.back();
        const QIcon picture(QPixmap(FStore.Paths().IconFile(skin::kRecentGroupPicture)));
        if (ShowProfile(recent.back(), picture, TProfileSource::Recent)) return;
    }
    SelectDefaultProfile();
}

// A first run has no recent profile: the first of the default group is shown, so that OK
// converts. It becomes a recent profile only once the user picks it.
void TfrmOption::SelectDefaultProfile() {
    for (const TProfileGroup& group : BuiltInGroupList().Groups) {
        if (group.GroupName != kDefaultGroup || group.Profiles.empty()) continue;
        const TProfileEntry& entry = group.Profiles.front();
        ShowProfile(entry, QIcon(QPixmap(FStore.Paths().IconFile(entry.ProfileImage))),
                    TProfileSource::Default);
        return;
    }
}

void TfrmOption::LoadProfile() {
    const QString path = ProfileComboPath(*cboProfile);
    if (path.isEmpty()) return;
    const TStorePaths& paths = FStore.Paths();
    const QString file = path.startsWith(paths.WritableFolder())
                                 ? path.mid(paths.WritableFolder().size())
                                 : QDir(paths.BuiltInFolder()).relativeFilePath(path);
    ShowProfile({cboProfile->itemText(0), {}, {}, file}, cboProfile->itemIcon(0), TProfileSource::Combo);
}

void TfrmOption::ShowProfileInCombo(const TProfileEntry& entry, const QIcon& picture) {
    if (entry.ProfileFile.isEmpty())
        cboProfile->clear();
    else
        FillProfileCombo(*cboProfile, entry.ProfileName, picture,
                         FStore.Paths().ProfilePath(entry.ProfileFile));
}

// Loads the entry's file into the dialog. A file that cannot be loaded changes nothing: the
// combo goes back to the profile shown before, whose values stay and are what OK converts with.
bool TfrmOption::ShowProfile(const TProfileEntry& entry, const QIcon& picture, TProfileSource source) {
    TProfileDocument document;
    QString error;
    if (!document.Load(FStore.Paths().ProfilePath(entry.ProfileFile), &error)) {
        ShowProfileInCombo(FShownProfile, FShownPicture);
        if (source == TProfileSource::Chosen || source == TProfileSource::Combo)
            ShowException(std::runtime_error(error.toStdString()));
        return false;
    }
    ShowProfileInCombo(entry, picture);
    FShownProfile = entry;
    FShownPicture = picture;
    FProfile = std::move(document);
    FIsBuiltInProfile = FStore.IsBuiltInProfile(FStore.Paths().ProfilePath(entry.ProfileFile));
    FExtensionNames = FProfile.ExtensionNames();
    FProfileFormat = FProfile.MainValue(QStringLiteral("fileformat"));
    FTargetProfile = FProfile.MainValue(QStringLiteral("targetprofile"));
    FVideoPreset = FProfile.DefaultValue(QStringLiteral("videopreset")).trimmed();
    FVideoTag = FProfile.DefaultValue(QStringLiteral("videotag")).trimmed();
    FProfileNorm = ProfileNormOf(FProfile);
    FillParameters();
    FAudioOnlyTarget = FProfile.IsAudioOnlyTarget();
    FEffectsPage->SetNorm(ProfileNormOf(FProfile), DiscTargetOf(FProfileFormat) != 0);
    btnOk->setEnabled(true);
    if (source == TProfileSource::Chosen || source == TProfileSource::Recent)
        ReportStoreResult(FStore.AddRecentProfile());
    return true;
}

void TfrmOption::FillParameters() {
    for (const TParameterControls& controls : FParameters) {
        const TParameterList list = ReadParameterList(FProfile, ParameterName(controls.Parameter));
        controls.Combo->clear();
        controls.Combo->addItems(list.Items);
        controls.Combo->setCurrentIndex(list.Selected);
    }
}

void TfrmOption::ReportStoreResult(const TStoreResult& result) {
    if (result.Failed()) ShowException(std::runtime_error(result.Error.toStdString()));
}

void TfrmOption::SetSource(TAVProbe& probe) {
    FSource = SourceFromProbe(probe);
    FPreviewPage->SetSource(probe, FSource);
}

TOptionChoices TfrmOption::Choices() const {
    TOptionChoices choices;
    choices.ProfileFormat = FProfileFormat;
    choices.TargetProfile = FTargetProfile;
    choices.ProfileNorm = FProfileNorm;
    choices.Extension = FExtensionNames.value(0);
    choices.AudioOnlyTarget = FAudioOnlyTarget;
    choices.VideoPreset = FVideoPreset;
    choices.VideoTag = FVideoTag;
    for (const TParameterControls& controls : FParameters) {
        const int selected = controls.Combo->currentIndex();
        choices.Parameters[controls.Parameter] =
                selected < 0 ? std::nullopt : std::optional<QString>(controls.Combo->itemText(selected));
    }
    choices.Source = FSource;
    choices.ProgramFolder = FStore.Paths().ModuleFolder();
    choices.OutputFolder = edtOutPath->text();
    FEffectsPage->FillChoices(choices);
    FHooksPage->FillChoices(choices.Hooks);
    choices.Trim = FPreviewPage->TrimChoice();
    return choices;
}

TOutputOptions TfrmOption::BuildOutputOptions() {
    const TOptionChoices choices = Choices();
    TOutputOptions options = kestrova::BuildOutputOptions(choices);
    FConfirmedChoices = choices;
    FConfirmedProfile = FShownProfile;
    // An audio extension makes an audio-only target for good, whatever the profile said.
    FAudioOnlyTarget = IsAudioOnlyTarget(choices);
    FHooksPage->ShowDrawnTexts();
    return options;
}

TInputOptions TfrmOption::BuildInputOptions() const {
    return kestrova::BuildInputOptions(Choices());
}

void TfrmOption::RestoreChoices(const TProfileEntry& profile, const TOptionChoices& choices) {
    const QIcon picture(QPixmap(FStore.Paths().IconFile(profile.ProfileImage)));
    if (!ShowProfile(profile, picture, TProfileSource::Restored)) {
        ShowProfileInCombo(profile, picture);
        FShownProfile = profile;
        FShownPicture = picture;
        FProfile = TProfileDocument();  // nothing to save as a new profile
        FIsBuiltInProfile = FStore.IsBuiltInProfile(FStore.Paths().ProfilePath(profile.ProfileFile));
        for (const TParameterControls& controls : FParameters) controls.Combo->clear();
        btnOk->setEnabled(true);
    }
    FProfileFormat = choices.ProfileFormat;
    FTargetProfile = choices.TargetProfile;
    FVideoPreset = choices.VideoPreset;
    FVideoTag = choices.VideoTag;
    FProfileNorm = choices.ProfileNorm;
    FAudioOnlyTarget = choices.AudioOnlyTarget;
    FExtensionNames.removeAll(choices.Extension);
    FExtensionNames.prepend(choices.Extension);
    for (const TParameterControls& controls : FParameters)
        SelectSavedItem(*controls.Combo, choices.Parameters[controls.Parameter]);
    if (FSource.FileName.empty()) FSource = choices.Source;
    edtOutPath->setText(choices.OutputFolder);
    FEffectsPage->ShowChoices(choices, DiscTargetOf(choices.ProfileFormat) != 0);
    FHooksPage->ShowChoices(choices.Hooks);
    FPreviewPage->ShowTrim(choices.Trim);
    FConfirmedProfile = profile;
    FConfirmedChoices = choices;
    FConfirmedChoices.ProgramFolder = FStore.Paths().ModuleFolder();
}

void TfrmOption::OfferForRemaining(int remaining) {
    chkUseForRemaining->setChecked(false);
    chkUseForRemaining->setVisible(remaining > 0);
    if (remaining <= 0) return;
    const QString files = remaining == 1 ? QStringLiteral("file") : QStringLiteral("files");
    chkUseForRemaining->setText(
            QStringLiteral("Use these settings for the remaining %1 %2").arg(remaining).arg(files));
    chkUseForRemaining->adjustSize();
    const QRect place = skin::kUseForRemainingRect;
    chkUseForRemaining->move(place.right() + 1 - chkUseForRemaining->width(), place.top());
}

bool TfrmOption::UseForRemaining() const {
    return !chkUseForRemaining->isHidden() && chkUseForRemaining->isChecked();
}

TfrmOption::TPage TfrmOption::CurrentPage() const {
    return static_cast<TPage>(FPages->currentIndex());
}

void TfrmOption::SetCurrentPage(TPage page) {
    FTabs->SetCurrent(static_cast<int>(page));
}

void TfrmOption::PageChanged(int page) {
    FPages->setCurrentIndex(page);
    update();
}

void TfrmOption::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) CentreOnDesktop(*this);
    FHooksPage->RefreshEnables();
    FPreviewPage->SetDecoding(true);
    QDialog::showEvent(event);
}

void TfrmOption::hideEvent(QHideEvent* event) {
    FPreviewPage->SetDecoding(false);
    if (FPicker.isVisible() && FPicker.TargetCombo() == cboProfile) FPicker.hide();
    cboProfile->SetDrawnPressed(false);
    QDialog::hideEvent(event);
    // Once the hiding is over (exec() returns after it): the window goes too.
    if (!event->spontaneous()) QTimer::singleShot(0, this, &TfrmOption::ReleaseWindow);
}

void TfrmOption::ReleaseWindow() {
    // A hidden dialog may wait beside its queue row for a long time: its window and the window's
    // backing store (a picture of the whole dialog) are made again when it is shown.
    if (!isVisible() && testAttribute(Qt::WA_WState_Created)) destroy();
}

void TfrmOption::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& background = FBackgrounds[static_cast<std::size_t>(FPages->currentIndex())];
    if (background.isNull())
        painter.fillRect(rect(), kPlainBackground);
    else
        painter.drawPixmap(0, 0, background);
}

void TfrmOption::cboProfileDropDown() {
    cboProfile->SetDrawnPressed(true);
    FPicker.ShowBelow(*cboProfile);
}

void TfrmOption::PickerProfileChosen(QComboBox* combo) {
    if (combo != cboProfile) return;
    cboProfile->SetDrawnPressed(false);
    // The picker has just made its choice the current profile.
    ShowProfile(CurrentProfile(), cboProfile->itemIcon(0), TProfileSource::Chosen);
}

void TfrmOption::PickerClosed(QComboBox* combo) {
    if (combo != cboProfile) return;
    cboProfile->SetDrawnPressed(false);
}

void TfrmOption::popmnuProfileSavePopup() {
    mnuSaveProfile->setEnabled(FIsBuiltInProfile && FProfile.IsLoaded());
    mnuRenameProfile->setEnabled(!FIsBuiltInProfile && !FShownProfile.ProfileFile.isEmpty());
    mnuDeleteProfile->setEnabled(!FIsBuiltInProfile);
}

void TfrmOption::mnuSaveProfileClick() {
    if (!FIsBuiltInProfile || !FProfile.IsLoaded()) return;
    ReportStoreResult(FStore.SaveProfileAs(FProfile, SelectedValues(Choices().Parameters)));
}

void TfrmOption::mnuRenameProfileClick() {
    if (FIsBuiltInProfile || FShownProfile.ProfileFile.isEmpty()) return;
    const TStoreResult result = FStore.RenameUserProfile();
    // The combo names the profile by its new name and file.
    if (result.Changed) ShowProfileInCombo(FShownProfile, FShownPicture);
    ReportStoreResult(result);
}

void TfrmOption::mnuDeleteProfileClick() {
    if (FIsBuiltInProfile) return;
    ReportStoreResult(FStore.DeleteUserProfile());
}

QString TfrmOption::SourceFolder() const {
    return QFileInfo(QFile::decodeName(FSource.FileName.c_str())).absolutePath();
}

void TfrmOption::btnOutPathClick() {
    const QString start = edtOutPath->text() == kSameAsInput ? SourceFolder() : edtOutPath->text();
    const QString chosen = BrowseForFolder(this, QStringLiteral("Select Output Folder"), true, start);
    if (chosen.isEmpty()) return;
    if (platform::Use<platform::TDriveInfo>().IsCdRom(chosen)) {
        ShowInformation(this, QStringLiteral("Output folder cannot be located in CD-ROM."));
        return;
    }
    edtOutPath->setText(WithTrailingSeparator(chosen));
}

void TfrmOption::btnOpenPathClick() {
    ShellOpenOrSay(edtOutPath->text() == kSameAsInput ? SourceFolder() : edtOutPath->text());
}

void TfrmOption::btnOkClick() {
    const QString checked = edtOutPath->text() == kSameAsInput ? QFile::decodeName(FSource.FileName.c_str())
                                                               : edtOutPath->text();
    if (!checked.isEmpty() && platform::Use<platform::TDriveInfo>().IsCdRom(checked)) {
        ShowInformation(this,
                        QStringLiteral("Input folder is located in CD-ROM, please select output folder."));
        btnOutPath->setFocus();
        return;
    }
    const QString folder = edtOutPath->text() == kSameAsInput || edtOutPath->text().isEmpty()
                                   ? SourceFolder()
                                   : edtOutPath->text();
    if (!CanWriteToFolder(folder)) {
        ShowInformation(this, CannotWriteToFolderText(folder));
        btnOutPath->setFocus();
        return;
    }
    if (!FHooksPage->PeriodsAccepted()) {
        SetCurrentPage(TPage::Hooks);
        FHooksPage->RefusePeriods();
        return;
    }
    accept();
}

}  // namespace kestrova
