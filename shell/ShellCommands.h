#pragma once
#include <QString>

namespace kestrova {

// Opens a document, a folder or a web address with the program the user associated with it.
bool ShellOpen(const QString& target);

// Shows the file selected in a file manager window of its folder (or opens the folder).
bool ShowInFileManager(const QString& path);

// The same for a user's command: when the desktop has no program for the target, a message
// says so instead of nothing happening.
void ShellOpenOrSay(const QString& target);
void ShowInFileManagerOrSay(const QString& path);

// Asks the system to power the computer off, without forcing: programs and sessions that hold
// the shutdown up keep it from happening. True when the system accepted the request.
bool ShutDown();

}  // namespace kestrova
