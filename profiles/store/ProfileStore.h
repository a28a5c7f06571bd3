#pragma once
#include "profiles/store/ProfileDocument.h"
#include "profiles/store/ProfileEntry.h"
#include "profiles/store/StorePaths.h"

#include <functional>

namespace kestrova {

// Asks the user for a line of text: (caption, prompt, initial text) -> the text entered, or
// an empty text when the user cancelled.
using TAskText =
        std::function<QString(const QString& caption, const QString& prompt, const QString& initialText)>;

// What a store operation did. A cancelled or inapplicable operation is neither changed nor
// failed.
struct TStoreResult {
    bool Changed = false;  // the index documents or user profile files changed
    QString Error;         // why the operation failed; empty when it did not

    bool Failed() const { return !Error.isEmpty(); }
};

// The profile files under a program folder P: recording recently used profiles and keeping
// the user's own profiles (saved from a built-in one, renamed, deleted). Every operation reads
// the documents it needs afresh and writes them back at once, so several dialogs see each
// other's changes. All operations work on `current`: the profile one options dialog shows,
// never one that another dialog chose since.
class TProfileStore {
public:
    TProfileStore(const QString& programFolder, TAskText askText, TProfileEntry& current);
    TProfileStore(TStorePaths paths, TAskText askText, TProfileEntry& current);

    // Called after every operation that changed the store, so that the picker rebuilds its
    // "User defined" and "Recent" lists.
    void SetOnListsChanged(std::function<void()> onListsChanged);

    // Appends the current profile to recent.xml unless an entry of that name is there; keeps
    // the ten newest.
    TStoreResult AddRecentProfile();
    // Writes the loaded built-in profile with the dialog's ten selected values as a new user
    // profile under a name the user confirms, and lists it in userdefined.xml under that name.
    TStoreResult SaveProfileAs(TProfileDocument& loaded, const TSelectedValues& values);
    // Gives the current user profile a new file name the user confirms; the typed name becomes
    // its display name too.
    TStoreResult RenameUserProfile();
    // Deletes the current user profile file and its entries in both index documents.
    TStoreResult DeleteUserProfile();

    // A profile file is a user profile when its path below the data folder contains
    // "userdefined"; the data folder's own name does not count.
    bool IsBuiltInProfile(const QString& profilePath) const;

    const TStorePaths& Paths() const { return FPaths; }

private:
    std::optional<QString> AskFileName(const QString& caption, const QString& prompt, const QString& proposal,
                                       QString& error) const;
    bool EnsureUserFolder(QString& error) const;
    void ListsChanged() const;

    TStorePaths FPaths;
    TAskText FAskText;
    TProfileEntry& FCurrent;
    std::function<void()> FOnListsChanged;
};

}  // namespace kestrova
