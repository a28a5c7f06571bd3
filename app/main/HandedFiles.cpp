#include "app/main/HandedFiles.h"

#include "app/main/MainFrm.h"
#include "app/main/QueueController.h"
#include "ui/skin/XGraphic.h"

#include <QApplication>

namespace kestrova {

namespace {
constexpr int kRetryMilliseconds = 250;
}

THandedFiles::THandedFiles(TfrmMain& window, TQueueController& queue) : FWindow(window), FQueue(queue) {
    FRetry.setInterval(kRetryMilliseconds);
    connect(&FRetry, &QTimer::timeout, this, &THandedFiles::TakeWhenFree);
}

void THandedFiles::Take(const QStringList& files) {
    if (FWindow.isMinimized()) FWindow.showNormal();
    FWindow.show();
    FWindow.raise();
    FWindow.activateWindow();
    if (files.isEmpty()) return;
    FWaiting << files;
    // After the hand-over has returned: the options dialog it opens is modal.
    QTimer::singleShot(0, this, &THandedFiles::TakeWhenFree);
}

void THandedFiles::TakeWhenFree() {
    if (FWaiting.isEmpty()) {
        FRetry.stop();
        return;
    }
    if (QApplication::activeModalWidget() || !FWindow.btnAdd->isEnabled()) {
        FRetry.start();
        return;
    }
    FRetry.stop();
    FQueue.DropFiles(FWaiting.takeFirst());
    if (!FWaiting.isEmpty()) QTimer::singleShot(0, this, &THandedFiles::TakeWhenFree);
}

}  // namespace kestrova
