#include "shell/ErrorDisplay.h"

#include "engine/core/FFmpegException.h"
#include "shell/ApplicationTitle.h"
#include "shell/MessageBoxes.h"

#include <utility>

namespace kestrova {

namespace {

TErrorDisplayHandler& InstalledHandler() {
    static TErrorDisplayHandler handler;
    return handler;
}

void ShowInMessageBox(const TErrorNotice& notice) {
    ShowMessageBox(nullptr,
                   notice.Severity == TErrorSeverity::Warning ? QMessageBox::Warning : QMessageBox::Critical,
                   notice.Text);
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
    ShowError(ErrorMessageText(QString::fromUtf8(error.what())),
              fromEngine ? TErrorSeverity::Warning : TErrorSeverity::Error);
}

void ShowError(const QString& text, TErrorSeverity severity) {
    Show({.Title = kApplicationTitle, .Text = text, .Severity = severity});
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
