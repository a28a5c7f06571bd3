#pragma once
// The program's start: the settings, then its windows in their order (the main window, the
// general options dialog, the profile picker), then the event loop until the main window
// closes.
#include <QString>
#include <QStringList>

#include <memory>

namespace kestrova {

class TFrmGeneralOption;
class TListMenu;
class TQueueController;
class TQueueSaver;
class TStorePaths;
class TfrmMain;

// The windows the program creates at start-up, created in their order and freed in the
// reverse one. The application object must exist.
class TProgramWindows {
public:
    // The windows read their data and keep the store's files where `paths` say; a program
    // folder stands for a portable one. With a `queueFile` the queue is kept in that file: the
    // queue it holds is offered back once the window is up (before the start files are taken
    // up), every change is saved to it, and closing leaves it, with the outputs its rows
    // reserved, for the next start.
    TProgramWindows(const TStorePaths& paths, const QStringList& startFiles, const QString& queueFile = {});
    TProgramWindows(const QString& programFolder, const QStringList& startFiles);
    ~TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    TfrmMain& MainWindow() const { return *FMainWindow; }
    TFrmGeneralOption& GeneralOptions() const { return *FGeneralOptions; }
    TListMenu& Picker() const { return *FPicker; }
    TQueueController& Queue() const { return *FQueue; }

private:
    void KeepQueueIn(const QString& queueFile, const QStringList& startFiles);

    std::unique_ptr<TListMenu> FPicker;  // declared first: it outlives the main window's dialogs
    std::unique_ptr<TfrmMain> FMainWindow;
    TFrmGeneralOption* FGeneralOptions = nullptr;  // owned by the main window
    std::unique_ptr<TQueueController> FQueue;      // freed first: it clears the queue
    std::unique_ptr<TQueueSaver> FSaver;           // freed before the queue, whose clearing it must not save
};

// Where the running program keeps its queue: "queue.json" in the user's data folder.
QString SavedQueuePath();

// The whole program: returns its exit code.
int RunProgram(int argc, char** argv);

}  // namespace kestrova
