#include "profiles/picker/ListMenu.h"

#include "profiles/picker/PickerColours.h"
#include "profiles/picker/PickerItemDelegate.h"
#include "profiles/picker/PickerList.h"
#include "profiles/picker/ProfileComboItems.h"
#include "profiles/store/CurrentProfile.h"
#include "profiles/store/IndexFiles.h"
#include "profiles/store/PickerPosition.h"
#include "ui/skin/CoolSB.h"
#include "ui/skin/SkinPictures.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QWindow>

#include <utility>

namespace kestrova {

namespace {

bool IsValidRow(const QListWidget& list, int row) {
    return row >= 0 && row < list.count();
}

QListWidgetItem* NewItem(const QString& text, const QPixmap& picture, const QString& tip) {
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::DecorationRole, picture);
    item->setToolTip(tip);
    return item;
}

QString ProfileText(const TProfileEntry& profile) {
    return profile.ProfileName + QLatin1String("\r\n") + DescriptionText(profile.DescribeName);
}

// Where the picker goes: below the combo, or above it when the screen has no room below,
// and never past the screen's left or right edge.
QPoint PlaceBelow(const QComboBox& combo, const QSize& size) {
    const QPoint below = combo.mapToGlobal(QPoint(0, combo.height()));
    const QScreen* screen = combo.screen();
    if (!screen) return below;
    const QRect area = screen->availableGeometry();
    QPoint at = below;
    if (at.y() + size.height() > area.bottom() + 1) {
        const int above = combo.mapToGlobal(QPoint(0, 0)).y() - size.height();
        at.setY(above >= area.top() ? above : std::max(area.top(), area.bottom() + 1 - size.height()));
    }
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    return at;
}

}  // namespace

TListMenu::TListMenu(const QString& programFolder, QWidget* parent)
    : TListMenu(programFolder, BuiltInGroupList(), parent) {}

TListMenu::TListMenu(const QString& programFolder, const TGroupList& groups, QWidget* parent)
    : TListMenu(TStorePaths(programFolder), groups, parent) {}

TListMenu::TListMenu(TStorePaths paths, const TGroupList& groups, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), FPaths(std::move(paths)), FPictures(FPaths) {
    setObjectName(QStringLiteral("ListMenu"));
    // A click elsewhere only closes the picker; a click on its own combo thus closes it
    // instead of opening it again.
    setAttribute(Qt::WA_NoMouseReplay);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(picker::kWindowColour));
    colours.setColor(QPalette::Base, QColor(picker::kListColour));
    setPalette(colours);
    setAutoFillBackground(true);

    FSingleList = groups.SingleFile;
    CreatePanes();
    if (const std::optional<TPickerPosition> position = LoadPickerPosition(FPaths)) {
        FLeftIndex = position->LeftIndex;
        FRightIndex = position->RightIndex;
    }
    if (FSingleList) {
        FSingleProfiles = groups.SingleList;
        for (const TProfileEntry& profile : FSingleProfiles)
            LeftMenu->addItem(NewItem(profile.ProfileName, FPictures.Picture(profile.ProfileImage),
                                      DescriptionText(profile.DescribeName)));
    } else {
        for (const TProfileGroup& group : groups.Groups) AddGroup(group);
        FindSpecialGroups();
        ReloadLists();
        FillAllProfiles();
    }
    RestorePosition();
    SizeWindow();
}

TListMenu::~TListMenu() {
    // Closing with the program says nothing to dialogs that may be gone already.
    blockSignals(true);
}

void TListMenu::CreatePanes() {
    auto* left = new TPickerList(this);
    left->setObjectName(QStringLiteral("LeftMenu"));
    left->setGeometry(kLeftPane);
    left->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    left->setItemDelegate(new TPickerItemDelegate(FSingleList ? TPickerItemDelegate::TKind::Profiles
                                                              : TPickerItemDelegate::TKind::Groups,
                                                  FPictures.GroupArrow(), left));
    left->installEventFilter(this);
    LeftMenu = left;
    connect(left, &TPickerList::HoverRowChanged, this, &TListMenu::LeftHoverChanged);
    connect(left, &QListWidget::currentRowChanged, this, &TListMenu::LeftRowActivated);
    connect(left, &QListWidget::clicked, this, [this](const QModelIndex& index) {
        if (FSingleList)
            ChooseSingle(index.row());
        else
            LeftRowActivated(index.row());
    });

    FScrollStyle =
            new TCoolSB(QPixmap(FPaths.IconFile(skin::kPickerScrollBarStrip)), kPickerStripCells, this);
    FRightLists = new QStackedWidget(this);
    FRightLists->setObjectName(QStringLiteral("RightMenu"));
    FRightLists->setGeometry(kRightPane);
    FRightLists->setVisible(!FSingleList);
}

void TListMenu::AddGroup(const TProfileGroup& group) {
    const int index = static_cast<int>(FGroups.size());
    TGroup& added = FGroups.emplace_back();
    added.Name = group.GroupName;
    added.Picture = FPictures.Picture(group.GroupImage);
    LeftMenu->addItem(NewItem(group.GroupName, added.Picture, group.GroupName));

    auto* list = new TPickerList(FRightLists);
    list->setObjectName(QStringLiteral("RightMenu%1").arg(index));
    list->setItemDelegate(new TPickerItemDelegate(TPickerItemDelegate::TKind::Profiles, QPixmap(), list));
    FScrollStyle->Attach(*list);
    list->installEventFilter(this);
    FRightLists->addWidget(list);
    added.List = list;
    connect(list, &QListWidget::currentRowChanged, this,
            [this, index](int row) { ProfileRowChanged(index, row); });
    connect(list, &QListWidget::clicked, this,
            [this, index](const QModelIndex& at) { Choose(index, at.row()); });
    FillProfileList(added, group.Profiles);
}

void TListMenu::FillProfileList(TGroup& group, std::vector<TProfileEntry> profiles) {
    const QSignalBlocker blocker(group.List);
    group.List->clear();
    for (const TProfileEntry& profile : profiles)
        group.List->addItem(
                NewItem(ProfileText(profile), FPictures.Picture(profile.ProfileImage), ProfileText(profile)));
    group.Profiles = std::move(profiles);
}

void TListMenu::FindSpecialGroups() {
    FRecentGroup = GroupIndex(kRecentGroup);
    FUserGroup = GroupIndex(kUserDefinedGroup);
    FAllGroup = GroupIndex(kAllProfilesGroup);
    FDefaultGroup = GroupIndex(kDefaultGroup);
}

void TListMenu::FillAllProfiles() {
    if (FAllGroup < 0) return;
    std::vector<TProfileEntry> all;
    for (int group = 0; group < GroupCount(); ++group) {
        if (group == FRecentGroup || group == FUserGroup || group == FAllGroup) continue;
        all.insert(all.end(), FGroups[group].Profiles.begin(), FGroups[group].Profiles.end());
    }
    FillProfileList(FGroups[FAllGroup], std::move(all));
}

int TListMenu::GroupIndex(const QString& groupName) const {
    for (int group = 0; group < GroupCount(); ++group)
        if (FGroups[group].Name == groupName) return group;
    return -1;
}

int TListMenu::ShownGroup() const {
    if (FSingleList) return -1;
    for (int group = 0; group < GroupCount(); ++group)
        if (FGroups[group].List == FRightLists->currentWidget()) return group;
    return -1;
}

void TListMenu::RestorePosition() {
    if (FSingleList) {
        SelectLeft(FLeftIndex);
        return;
    }
    SelectLeft(FDefaultGroup);
    const int group = FLeftIndex >= 0 && FLeftIndex < GroupCount() ? FLeftIndex : FDefaultGroup;
    SelectLeft(group);
    ShowGroup(group);
    SelectRight(group, FRightIndex < 0 ? 0 : FRightIndex);
}

void TListMenu::SizeWindow() {
    const int width = FSingleList ? kRightPane.left() : kRightPane.left() + kRightPane.width() + 1;
    setFixedSize(width, kLeftPane.top() + kLeftPane.height() + 1);
}

void TListMenu::ShowGroup(int group) {
    if (group < 0 || group >= GroupCount()) return;
    const bool profilesFocused = FRightLists->isAncestorOf(QApplication::focusWidget());
    FRightLists->setCurrentWidget(FGroups[group].List);
    FGroups[group].List->viewport()->update();
    if (profilesFocused) FGroups[group].List->setFocus();
}

void TListMenu::SelectLeft(int row) {
    const QSignalBlocker blocker(LeftMenu);
    if (IsValidRow(*LeftMenu, row))
        LeftMenu->setCurrentRow(row);
    else
        LeftMenu->clearSelection();
}

void TListMenu::SelectRight(int group, int row) {
    if (group < 0 || group >= GroupCount()) return;
    QListWidget& list = *FGroups[group].List;
    const QSignalBlocker blocker(&list);
    if (IsValidRow(list, row)) {
        list.setCurrentRow(row);
        list.scrollToItem(list.item(row));
    } else {
        list.setCurrentRow(-1);
        list.clearSelection();
    }
}

void TListMenu::ProfileRowChanged(int group, int row) {
    if (row < 0) return;
    FRightIndex = row;
    FLeftIndex = group;
    SelectLeft(group);
}

void TListMenu::LeftHoverChanged(int row) {
    if (FSingleList || row < 0 || row == FLastHoveredGroup) return;
    FLastHoveredGroup = row;
    if (FLeftIndex >= 0) SelectLeft(FLeftIndex);
    ShowGroup(row);
}

void TListMenu::LeftRowActivated(int row) {
    if (FSingleList) return;
    ShowGroup(row < 0 ? 0 : row);
}

void TListMenu::Choose(int group, int row) {
    if (group < 0 || group >= GroupCount()) return;
    const TGroup& chosen = FGroups[group];
    if (row < 0 || row >= static_cast<int>(chosen.Profiles.size())) return;
    FRightIndex = row;
    FLeftIndex = group;
    SelectLeft(group);
    SelectRight(group, row);
    const TProfileEntry profile = chosen.Profiles[row];
    CurrentProfile() = profile;
    FillTarget(profile, chosen.Picture);
}

void TListMenu::ChooseSingle(int row) {
    if (row < 0 || row >= static_cast<int>(FSingleProfiles.size())) return;
    FLeftIndex = row;
    const TProfileEntry profile = FSingleProfiles[row];
    CurrentProfile() = profile;
    FillTarget(profile, FPictures.Picture(profile.ProfileImage));
}

void TListMenu::FillTarget(const TProfileEntry& profile, const QPixmap& picture) {
    QComboBox* target = FTarget;
    if (target)
        FillProfileCombo(*target, profile.ProfileName, QIcon(picture),
                         FPaths.ProfilePath(profile.ProfileFile));
    // Closed before the combo hears of the choice, so that loading the profile (and any
    // message it shows) happens with the picker out of the way.
    FChoosing = true;
    hide();
    FChoosing = false;
    emit ProfileChosen(target);
}

void TListMenu::ReloadLists() {
    if (FUserGroup >= 0) {
        const std::optional<TIndexDocument> user = LoadUserProfiles(FPaths);
        FillProfileList(FGroups[FUserGroup], user ? user->Entries() : std::vector<TProfileEntry>());
    }
    if (FRecentGroup >= 0) FillProfileList(FGroups[FRecentGroup], LoadRecentProfiles(FPaths).Entries());
    if (FLeftIndex == FUserGroup || FLeftIndex == FRecentGroup) SelectRight(FLeftIndex, FRightIndex);
    SavePickerPosition(FPaths, {FLeftIndex, FRightIndex});
}

void TListMenu::ShowBelow(QComboBox& combo) {
    SetTargetCombo(&combo);
    move(PlaceBelow(combo, size()));
    // The window manager keeps the picker with the (modal) window of its combo.
    create();
    if (QWindow* owner = combo.window()->windowHandle()) windowHandle()->setTransientParent(owner);
    show();
}

void TListMenu::showEvent(QShowEvent* event) {
    if (!FSingleList) {
        ReloadLists();
        RestorePosition();
        FLastHoveredGroup = -1;
    }
    QWidget::showEvent(event);
    activateWindow();
    if (FSingleList || ShownGroup() < 0)
        LeftMenu->setFocus();
    else
        FGroups[ShownGroup()].List->setFocus();
}

void TListMenu::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!FChoosing) emit PickerClosed(FTarget);
}

void TListMenu::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TListMenu::FocusProfiles() {
    const int group = ShownGroup();
    if (group < 0) return;
    QListWidget& list = *FGroups[group].List;
    if (list.count() == 0) return;
    list.setFocus();
    if (list.currentRow() < 0) list.setCurrentRow(0);
}

bool TListMenu::HandleListKey(QListWidget& list, int key) {
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key == Qt::Key_Escape) {
        hide();
        return true;
    }
    if (&list == LeftMenu) {
        if (FSingleList && enter) {
            ChooseSingle(LeftMenu->currentRow());
            return true;
        }
        if (!FSingleList && (enter || key == Qt::Key_Right)) {
            FocusProfiles();
            return true;
        }
        return false;
    }
    if (enter) {
        Choose(ShownGroup(), list.currentRow());
        return true;
    }
    if (key == Qt::Key_Left) {
        LeftMenu->setFocus();
        return true;
    }
    return false;
}

bool TListMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress)
        if (auto* list = qobject_cast<QListWidget*>(watched))
            if (HandleListKey(*list, static_cast<QKeyEvent*>(event)->key())) return true;
    return QWidget::eventFilter(watched, event);
}

}  // namespace kestrova
