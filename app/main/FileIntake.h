#pragma once
// Takes up the files a user hands the queue at once (the open dialog, a drop, the command line,
// a second start of the program): each file is probed and confirmed in its own options dialog,
// or, when the user ticks "Use these settings for the remaining N files" in one, the files after
// it are probed and queued with that dialog's choices, each with its own dialog for a later
// re-edit. Whatever could not be added is said once, at the end, in one message.
#include "app/queue/GivenFiles.h"
#include "engine/front/HostOptions.h"
#include "profiles/options/OptionChoices.h"
#include "profiles/store/ProfileEntry.h"

#include <QString>

#include <deque>
#include <functional>

namespace kestrova {

class TListMenu;
class TSettingsStore;
class TfrmMain;
class TfrmOption;

class TFileIntake {
public:
    // Makes the row of a confirmed dialog: empty when it was made, else why not (the row
    // maker takes the dialog, and deletes it on failure).
    using TRowMaker = std::function<QString(TfrmOption*, const TOutputOptions&, const TInputOptions&)>;

    TFileIntake(TfrmMain& window, TListMenu& picker, TSettingsStore& settings, TRowMaker makeRow);

    // Takes up the files in order, then says in one message box which were not added. Files
    // handed over while an earlier batch is being taken up follow it.
    void Add(TGivenFiles given);

private:
    enum class TOutcome { Added, Cancelled, CancelledAll, Failed };
    // The choices of the dialog whose check box asked for them to serve the files after it.
    struct TBatchChoices {
        bool Use = false;
        TProfileEntry Profile;
        TOptionChoices Choices;
    };

    void AddBatch(TGivenFiles given);
    TOutcome AddWithDialog(const QString& path, int remaining, TBatchChoices& batch, QString& reason);
    TOutcome AddWithChoices(const QString& path, const TBatchChoices& batch, QString& reason);
    bool OpenInProbe(const QString& path, QString& reason);
    bool LoadMediaLibraries(QString& reason);
    TfrmOption* NewDialog();
    void Report(const std::vector<TNotAdded>& notAdded);
    void Log(const QString& line, bool spaced = true);

    TfrmMain& FWindow;
    TListMenu& FPicker;
    TSettingsStore& FSettings;
    TRowMaker FMakeRow;
    bool FBusy = false;
    std::deque<TGivenFiles> FWaiting;
};

}  // namespace kestrova
