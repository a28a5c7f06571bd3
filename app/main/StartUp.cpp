#include "app/main/StartUp.h"

#include "app/main/KestrovaApplication.h"
#include "app/main/MainFrm.h"
#include "app/main/QueueController.h"
#include "app/settings/GeneralOptionsFrm.h"
#include "app/settings/Settings.h"
#include "profiles/picker/ListMenu.h"
#include "profiles/store/GroupList.h"
#include "profiles/store/StorePaths.h"

#include <QFile>
#include <QFileInfo>
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

TProgramWindows::TProgramWindows(const TStorePaths& paths, const QStringList& startFiles) {
    FMainWindow = std::make_unique<TfrmMain>(paths.DataFolder(), startFiles);
    FGeneralOptions = new TFrmGeneralOption(AppSettings(), FMainWindow.get());
    FMainWindow->SetGeneralOptions(*FGeneralOptions);
    FPicker = std::make_unique<TListMenu>(paths, BuiltInGroupList());
    FQueue = std::make_unique<TQueueController>(*FMainWindow, *FPicker, AppSettings());
}

TProgramWindows::~TProgramWindows() {
    FQueue.reset();
    FMainWindow.reset();
    FPicker.reset();
}

int RunProgram(int argc, char** argv) {
    TKestrovaApplication application(argc, argv);
    AppSettings();
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrova"));
    TProgramWindows windows(ProgramStorePaths(), FileArguments(application.arguments()));
    MarkWhenShown(windows.MainWindow());
    windows.MainWindow().show();
    return application.exec();
}

}  // namespace kestrova
