#pragma once
// The profile picker: the drop-down window from which the user chooses an output profile.
//
// How the main window uses it: it creates one TListMenu for the whole program at start-up
// (with the program folder; the built-in group list is the default) and hands it to every
// options dialog it creates. A dialog opens it below its profile combo with ShowBelow(); the
// picker fills that combo with the chosen profile (item 0 the name with a picture, item 1 the
// profile file's full path), makes it the current profile and emits ProfileChosen, or emits
// PickerClosed when it closes without a choice. Dialogs run their store operations with
// ReloadLists as the store's "lists changed" callback.
#include "profiles/picker/PickerPictures.h"
#include "profiles/store/GroupList.h"
#include "profiles/store/StorePaths.h"

#include <QComboBox>
#include <QPointer>
#include <QWidget>

#include <vector>

class QListWidget;
class QStackedWidget;

namespace kestrova {

class TCoolSB;
class TPickerList;

class TListMenu : public QWidget {
    Q_OBJECT

public:
    // Pane geometry: the group list on the left, one profile list per group on the right.
    static constexpr QRect kLeftPane{1, 1, 150, 460};
    static constexpr QRect kRightPane{152, 1, 358, 460};

    explicit TListMenu(const QString& programFolder, QWidget* parent = nullptr);
    TListMenu(const QString& programFolder, const TGroupList& groups, QWidget* parent = nullptr);
    TListMenu(TStorePaths paths, const TGroupList& groups, QWidget* parent = nullptr);
    ~TListMenu() override;

    const TStorePaths& Paths() const { return FPaths; }
    // The one-list form: a single list of profiles instead of groups.
    bool IsSingleList() const { return FSingleList; }

    // The group (left list) and the profile within it (right list) chosen last; -1 for none.
    int LeftIndex() const { return FLeftIndex; }
    int RightIndex() const { return FRightIndex; }

    // The index of the group of that exact name; -1 when there is none.
    int GroupIndex(const QString& groupName) const;
    int GroupCount() const { return static_cast<int>(FGroups.size()); }
    // The group whose profile list is in front (the one-list form: -1).
    int ShownGroup() const;

    QComboBox* TargetCombo() const { return FTarget; }
    void SetTargetCombo(QComboBox* combo) { FTarget = combo; }

    // Opens the picker for `combo`, its top left corner at the combo's bottom left corner
    // (moved to stay on the combo's screen).
    void ShowBelow(QComboBox& combo);

    // Rebuilds the "User defined" and "Recent" lists from their files and records the
    // picker's position in last.xml.
    void ReloadLists();

signals:
    // The target combo now holds the chosen profile.
    void ProfileChosen(QComboBox* combo);
    // The picker closed without a choice (Esc, a click elsewhere).
    void PickerClosed(QComboBox* combo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct TGroup {
        QString Name;
        QPixmap Picture;
        std::vector<TProfileEntry> Profiles;
        TPickerList* List = nullptr;  // the two-pane form's profile list of the group
    };

    void CreatePanes();
    void AddGroup(const TProfileGroup& group);
    void FillAllProfiles();
    void FillProfileList(TGroup& group, std::vector<TProfileEntry> profiles);
    void FindSpecialGroups();
    void RestorePosition();
    void SizeWindow();

    void ShowGroup(int group);
    void SelectLeft(int row);
    void SelectRight(int group, int row);
    void ProfileRowChanged(int group, int row);
    void LeftHoverChanged(int row);
    void LeftRowActivated(int row);
    void Choose(int group, int row);
    void ChooseSingle(int row);
    void FillTarget(const TProfileEntry& profile, const QPixmap& picture);
    bool HandleListKey(QListWidget& list, int key);
    void FocusProfiles();

    TStorePaths FPaths;
    TPickerPictures FPictures;
    bool FSingleList = false;
    std::vector<TGroup> FGroups;
    std::vector<TProfileEntry> FSingleProfiles;
    int FRecentGroup = -1;
    int FUserGroup = -1;
    int FAllGroup = -1;
    int FDefaultGroup = -1;
    int FLeftIndex = -1;
    int FRightIndex = -1;
    int FLastHoveredGroup = -1;
    bool FChoosing = false;
    QPointer<QComboBox> FTarget;
    QListWidget* LeftMenu = nullptr;
    QStackedWidget* FRightLists = nullptr;
    TCoolSB* FScrollStyle = nullptr;
};

}  // namespace kestrova
