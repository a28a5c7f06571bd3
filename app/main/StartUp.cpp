#include "app/main/StartUp.h"

#include "app/main/HandedFiles.h"
#include "app/main/KestrovaApplication.h"
#include "app/main/MainFrm.h"
#include "app/main/QueueController.h"
#include "app/main/QueueRestore.h"
#include "app/main/QueueSaver.h"
#include "app/main/SingleInstance.h"
#include "app/settings/GeneralOptionsFrm.h"
#include "app/settings/Settings.h"
#include "engine/frame/ProgramLayout.h"
#include "profiles/picker/ListMenu.h"
#include "profiles/store/GroupList.h"
#include "profiles/store/StorePaths.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <utility>

namespace kestrova {

namespace {

// The files named on the command line, as absolute paths.
QStringList FileArguments(const QStringList& arguments) {
    QStringList files;
    for (qsizetype i = 1; i < arguments.size(); ++i) files << QFileInfo(arguments[i]).absoluteFilePath();
    return files;
}

// When KESTROVA_SHOWN_MARKER names a file, it is created once the main window has been
// drawn for the first time: how a launcher or a benchmark learns that the program is up.
class TShownMarker : public QObject {
public:
    TShownMarker(QWidget& window, QString path) : QObject(&window), FPath(std::move(path)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Runs once this paint is done.
            QTimer::singleShot(0, this, [this] {
                QFile file(FPath);
                if (file.open(QIODevice::WriteOnly)) file.write("shown\n");
            });
        }
        return false;
    }

private:
    QString FPath;
};

void MarkWhenShown(TfrmMain& window) {
    const QString marker = qEnvironmentVariable("KESTROVA_SHOWN_MARKER");
    if (!marker.isEmpty()) new TShownMarker(window, marker);
}

}  // namespace

TProgramWindows::TProgramWindows(const QString& programFolder, const QStringList& startFiles)
    : TProgramWindows(TStorePaths(programFolder), startFiles) {}

TProgramWindows::TProgramWindows(const TStorePaths& paths, const QStringList& startFiles,
                                 const QString& queueFile) {
    FMainWindow =
            std::make_unique<TfrmMain>(paths.DataFolder(), queueFile.isEmpty() ? startFiles : QStringList());
    FGeneralOptions = new TFrmGeneralOption(AppSettings(), FMainWindow.get());
    FMainWindow->SetGeneralOptions(*FGeneralOptions);
    FPicker = std::make_unique<TListMenu>(paths, BuiltInGroupList());
    FQueue = std::make_unique<TQueueController>(*FMainWindow, *FPicker, AppSettings());
    if (!queueFile.isEmpty()) KeepQueueIn(queueFile, startFiles);
}

void TProgramWindows::KeepQueueIn(const QString& queueFile, const QStringList& startFiles) {
    FSaver = std::make_unique<TQueueSaver>(*FQueue, FMainWindow->ActivityLog(), queueFile);
    // Once the window is up; the files named on the command line join the queue brought back.
    QTimer::singleShot(0, FMainWindow.get(), [this, queueFile, startFiles] {
        TQueueRestore(*FMainWindow, *FQueue, *FPicker, AppSettings(), *FSaver, queueFile).Run();
        FQueue->TakeUpNewFiles(startFiles);
    });
}

TProgramWindows::~TProgramWindows() {
    // The file keeps the queue as last shown, and its rows keep the names they reserved.
    if (FSaver) {
        FSaver.reset();
        FQueue->Rows().DeleteAll();
    }
    FQueue.reset();
    FMainWindow.reset();
    FPicker.reset();
}

QString SavedQueuePath() {
    const std::string folder = UserDataFolder();
    EnsureFolder(folder);  // a folder that cannot be made shows in the activity log at the first save
    return QFile::decodeName(folder.c_str()) + QStringLiteral("queue.json");
}

int RunProgram(int argc, char** argv) {
    TKestrovaApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrova"));
    const QStringList files = FileArguments(application.arguments());
    // Before anything is read or written: a program already running takes the files.
    TSingleInstance instance(SettingsFilePath());
    if (!instance.BecomeTheRunningProgram()) {
        if (instance.HandOver(files)) return 0;
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QStringLiteral("Kestrova is already running but does not answer; it was "
                                             "not started again."));
        return 1;
    }
    AppSettings();
    TProgramWindows windows(ProgramStorePaths(), files, SavedQueuePath());
    THandedFiles handed(windows.MainWindow(), windows.Queue());
    QObject::connect(&instance, &TSingleInstance::FilesHanded, &handed, &THandedFiles::Take);
    MarkWhenShown(windows.MainWindow());
    windows.MainWindow().show();
    return application.exec();
}

}  // namespace kestrova
