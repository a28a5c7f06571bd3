#include "app/shell/ErrorDisplay.h"

#include "engine/core/FFmpegException.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace kestrova {

namespace {

ErrorDisplayHandler& InstalledHandler()
{
    static ErrorDisplayHandler handler;
    return handler;
}

void ShowInMessageBox(const ErrorNotice& notice)
{
    const QMessageBox::Icon icon = notice.severity == ErrorSeverity::Warning
        ? QMessageBox::Warning : QMessageBox::Critical;
    QMessageBox box(icon, notice.title, notice.text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void Show(const ErrorNotice& notice)
{
    if (const ErrorDisplayHandler& handler = InstalledHandler())
        handler(notice);
    else
        ShowInMessageBox(notice);
}

} // namespace

ErrorDisplayHandler SetErrorDisplay(ErrorDisplayHandler handler)
{
    return std::exchange(InstalledHandler(), std::move(handler));
}

QString ErrorMessageText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void ShowException(const std::exception& error)
{
    const bool fromEngine = dynamic_cast<const FFmpegException*>(&error) != nullptr;
    Show({.title = QGuiApplication::applicationDisplayName(),
          .text = ErrorMessageText(QString::fromUtf8(error.what())),
          .severity = fromEngine ? ErrorSeverity::Warning : ErrorSeverity::Error});
}

bool RunShowingErrors(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}

} // namespace kestrova
