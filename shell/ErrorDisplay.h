#pragma once
// The application-wide error display: every error that ends a user's command is shown here,
// in a message box titled with the application's name. Tests install a recorder in place of
// the message box.
#include <QString>

#include <exception>
#include <functional>

namespace kestrova {

enum class TErrorSeverity {
    Warning,  // engine errors: the user's input or options were refused
    Error,    // everything else
};

struct TErrorNotice {
    QString Title;
    QString Text;
    TErrorSeverity Severity = TErrorSeverity::Error;
};

using TErrorDisplayHandler = std::function<void(const TErrorNotice&)>;

// Installs the handler that shows notices (empty: the message box) and returns the previous one.
TErrorDisplayHandler SetErrorDisplay(TErrorDisplayHandler handler);

// Shows an exception's message: with a warning for engine errors, an error otherwise.
void ShowException(const std::exception& error);

// Shows a message of the program's own (a failure the user should know of), as is.
void ShowError(const QString& text, TErrorSeverity severity = TErrorSeverity::Error);

// The message as shown: a "." is appended when the text ends in a character that sorts
// after "." (a letter or a digit, say), so "Failed!" stays as it is.
QString ErrorMessageText(const QString& message);

// Runs a command and shows any exception it raises. False when one was raised.
bool RunShowingErrors(const std::function<void()>& command);

}  // namespace kestrova
