#pragma once
// At start-up: the queue the last session left in its file. A queue with a row that is not
// "Completed" is offered back ("Restore the 12 files left in the queue?"). Yes: every row comes
// back in its order with its status and its own options dialog rebuilt from the saved choices;
// a row that had not ended is "Waiting" again with its unfinished output removed, or "Aborted"
// with the reason when its source has gone or changed. No: the outputs its rows reserved are
// given back. Either way the file then holds the queue shown. A file that cannot be read is
// said so once, set aside for the user, and the queue starts empty.
#include <QString>

namespace kestrova {

class TListMenu;
class TQueueController;
class TQueueSaver;
class TSettingsStore;
class TfrmMain;
class TfrmOption;
struct TSavedRow;

class TQueueRestore {
public:
    TQueueRestore(TfrmMain& window, TQueueController& queue, TListMenu& picker, TSettingsStore& settings,
                  TQueueSaver& saver, QString path);

    void Run();

private:
    bool AskToRestore(int rowCount);
    void SayDamaged(const QString& error);
    void RestoreRow(TSavedRow row);
    QString OpenSource(TfrmOption& dialog, const TSavedRow& row);
    void Log(const QString& line);

    TfrmMain& FWindow;
    TQueueController& FQueue;
    TListMenu& FPicker;
    TSettingsStore& FSettings;
    TQueueSaver& FSaver;
    QString FPath;
};

}  // namespace kestrova
