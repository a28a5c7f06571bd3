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
class TStorePaths;
class TfrmMain;

// The windows the program creates at start-up, created in their order and freed in the
// reverse one. The application object must exist.
class TProgramWindows {
public:
    // The windows read their data and keep the store's files where `paths` say; a program
    // folder stands for a portable one.
    TProgramWindows(const TStorePaths& paths, const QStringList& startFiles);
    TProgramWindows(const QString& programFolder, const QStringList& startFiles);
    ~TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    TfrmMain& MainWindow() const { return *FMainWindow; }
    TFrmGeneralOption& GeneralOptions() const { return *FGeneralOptions; }
    TListMenu& Picker() const { return *FPicker; }
    TQueueController& Queue() const { return *FQueue; }

private:
    std::unique_ptr<TListMenu> FPicker;  // declared first: it outlives the main window's dialogs
    std::unique_ptr<TfrmMain> FMainWindow;
    TFrmGeneralOption* FGeneralOptions = nullptr;  // owned by the main window
    std::unique_ptr<TQueueController> FQueue;      // freed first: it clears the queue
};

// The whole program: returns its exit code.
int RunProgram(int argc, char** argv);

}  // namespace kestrova
