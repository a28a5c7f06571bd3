#include "shell/ErrorDisplay.h"

#include "engine/core/FFmpegException.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace kestrova {

namespace {

TErrorDisplayHandler& InstalledHandler() {
    static TErrorDisplayHandler handler;
    return handler;
}

void ShowInMessageBox(const TErrorNotice& notice) {
    const QMessageBox::Icon icon =
            notice.Severity == TErrorSeverity::Warning ? QMessageBox::Warning : QMessageBox::Critical;
    QMessageBox box(icon, notice.Title, notice.Text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void Show(const TErrorNotice& notice) {
    if (const TErrorDisplayHandler& handler = InstalledHandler())
        handler(notice);
    else
        ShowInMessageBox(notice);
}

}  // namespace

TErrorDisplayHandler SetErrorDisplay(TErrorDisplayHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

QString ErrorMessageText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.') return message + u'.';
    return message;
}

void ShowException(const std::exception& error) {
    const bool fromEngine = dynamic_cast<const FFmpegException*>(&error) != nullptr;
    Show({.Title = QGuiApplication::applicationDisplayName(),
          .Text = ErrorMessageText(QString::fromUtf8(error.what())),
          .Severity = fromEngine ? TErrorSeverity::Warning : TErrorSeverity::Error});
}

bool RunShowingErrors(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}

}  // namespace kestrova
