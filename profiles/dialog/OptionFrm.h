#pragma once
// The per-file options dialog ("Output Options").
//
// How the main window uses it: for every file it adds to the queue it opens the file with the
// engine's probe and creates one TfrmOption with the program's profile picker and the output
// folder of the settings, keeps it with the row, calls SetSource(probe) once and shows it
// modally (exec()). After OK it calls BuildOutputOptions() and then BuildInputOptions() and
// keeps both records in the row. To re-edit a row it opens the same file in the probe again
// and shows the row's dialog again, without SetSource: the dialog keeps everything from
// before. The probe may be closed or given other files while the dialog is hidden; the
// dialog decodes preview pictures only while it is shown and the probe holds its source.
// The picker must outlive the dialogs made with it.
#include "engine/front/HostOptions.h"
#include "profiles/options/OptionChoices.h"
#include "profiles/store/ProfileDocument.h"
#include "profiles/store/ProfileStore.h"

#include <QDialog>
#include <QIcon>
#include <QPixmap>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QCheckBox;
class QPushButton;
class QStackedWidget;

namespace kestrova {

class TAVProbe;
class TEffectsPage;
class THooksPage;
class TListMenu;
class TPageTabs;
class TPreviewTrimPage;
class TProfileComboBox;
class TSkinComboBox;
class TSkinDropButton;

class TfrmOption : public QDialog {
    Q_OBJECT

public:
    // The dialog's pages, in the order of the footer's tabs.
    enum class TPage { Basic = 0, Preview = 1, Effects = 2, Hooks = 3 };

    // `configuredOutputFolder` is the settings' output folder as configured; the dialog
    // resolves it (a missing folder gives way to the user's video folder). The picker's
    // program folder is the dialog's: profiles, skin and hook modules are found there.
    TfrmOption(TListMenu& picker, const QString& configuredOutputFolder, QWidget* parent = nullptr);
    ~TfrmOption() override;

    // Takes the source the probe holds open (once, before the dialog is first shown).
    void SetSource(TAVProbe& probe);

    // The engine's records for the choices shown. BuildOutputOptions reserves a new output
    // file each time (an empty file under the next free name).
    TOutputOptions BuildOutputOptions();
    TInputOptions BuildInputOptions() const;
    // Everything the records are built from, as the dialog shows it now.
    TOptionChoices Choices() const;
    // The choices and the profile the records were last built from (at the last OK, or as
    // RestoreChoices gave them): what a later Cancel left in the controls is not among them.
    const TOptionChoices& ConfirmedChoices() const { return FConfirmedChoices; }
    const TProfileEntry& ConfirmedProfile() const { return FConfirmedProfile; }

    // Shows a saved row's choices as the OK that made them left the dialog: its profile (the
    // saved values stand when its file is gone), the items chosen, the output folder and the
    // further pages. Call SetSource first when the source can be opened, so that the trim
    // lies on its track bar; otherwise the saved source stands for it.
    void RestoreChoices(const TProfileEntry& profile, const TOptionChoices& choices);

    // Loads the profile file named by the profile combo's second item (for a host that filled the
    // combo itself; the profile is not recorded as recently used). A file that cannot be loaded is
    // reported and the dialog goes on with the profile it showed.
    void LoadProfile();

    const QString& ProfileFormat() const { return FProfileFormat; }
    const QString& TargetProfile() const { return FTargetProfile; }
    bool AudioOnlyTarget() const { return FAudioOnlyTarget; }
    bool IsBuiltInProfile() const { return FIsBuiltInProfile; }

    // For a file added with others: the check box "Use these settings for the remaining N
    // files" in the profile card, unticked (hidden for 0). Whether the user ticked it.
    void OfferForRemaining(int remaining);
    bool UseForRemaining() const;

    TPage CurrentPage() const;
    void SetCurrentPage(TPage page);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Where a profile to show comes from: what that means for the recent list and for a file
    // that cannot be loaded.
    enum class TProfileSource {
        Chosen,    // picked in the picker: recorded as recent; a failure is reported
        Recent,    // the newest recent profile at creation: a failure gives way to the default
        Default,   // the default group's first profile, on a first run
        Combo,     // whatever the combo names (LoadProfile)
        Restored,  // a saved row's profile: not recorded as recent; a failure leaves the saved values
    };

    struct TParameterControls {
        TParameter Parameter;
        QLabel* Label;
        TSkinComboBox* Combo;
    };

    void FormCreate();
    void CreateBasicPage(QWidget* page);
    void CreateParameterRows(QWidget* page, const QPixmap& face);
    void CreateFooter();
    void LoadBackgrounds();
    void ResolveOutputPath(const QString& configuredOutputFolder);
    void SelectRecentProfile();
    void SelectDefaultProfile();
    bool ShowProfile(const TProfileEntry& entry, const QIcon& picture, TProfileSource source);
    void ShowProfileInCombo(const TProfileEntry& entry, const QIcon& picture);
    void FillParameters();
    void ReportStoreResult(const TStoreResult& result);
    QString SourceFolder() const;

    void cboProfileDropDown();
    void PickerProfileChosen(QComboBox* combo);
    void PickerClosed(QComboBox* combo);
    void popmnuProfileSavePopup();
    void mnuSaveProfileClick();
    void mnuRenameProfileClick();
    void mnuDeleteProfileClick();
    void btnOutPathClick();
    void btnOpenPathClick();
    void btnOkClick();
    void PageChanged(int page);
    void ReleaseWindow();

    TListMenu& FPicker;
    TProfileEntry FShownProfile;  // before FStore, which works on it
    QIcon FShownPicture;
    TProfileStore FStore;
    TProfileDocument FProfile;
    QStringList FExtensionNames;
    QString FProfileFormat;
    QString FTargetProfile;
    QString FVideoPreset;
    QString FVideoTag;
    TNorm FProfileNorm = TNorm::Auto;
    bool FAudioOnlyTarget = false;
    bool FIsBuiltInProfile = true;
    TSourceInfo FSource;
    TOptionChoices FConfirmedChoices;
    TProfileEntry FConfirmedProfile;
    std::array<QPixmap, 4> FBackgrounds;

    QStackedWidget* FPages;
    TProfileComboBox* cboProfile;
    TSkinDropButton* btnSaveProfile;
    QCheckBox* chkUseForRemaining;
    QMenu* popmnuProfileSave;
    QAction* mnuSaveProfile;
    QAction* mnuRenameProfile;
    QAction* mnuDeleteProfile;
    QLineEdit* edtOutPath;
    QPushButton* btnOutPath;
    QPushButton* btnOpenPath;
    std::array<TParameterControls, kParameterCount> FParameters;
    TPreviewTrimPage* FPreviewPage;
    TEffectsPage* FEffectsPage;
    THooksPage* FHooksPage;
    TPageTabs* FTabs;
    QPushButton* btnOk;
    QPushButton* btnCancel;
};

}  // namespace kestrova
