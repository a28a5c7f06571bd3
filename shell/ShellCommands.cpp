#include "shell/ShellCommands.h"

#include "platform/Services.h"
#include "shell/ErrorDisplay.h"

namespace kestrova {

bool ShellOpen(const QString& target) {
    return platform::Use<platform::TShell>().Open(target);
}

bool ShowInFileManager(const QString& path) {
    return platform::Use<platform::TShell>().ShowItem(path);
}

void ShellOpenOrSay(const QString& target) {
    if (!ShellOpen(target))
        ShowError(QStringLiteral("There is no program on this desktop to open %1.").arg(target));
}

void ShowInFileManagerOrSay(const QString& path) {
    if (!ShowInFileManager(path))
        ShowError(QStringLiteral("There is no program on this desktop to show %1.").arg(path));
}

bool ShutDown() {
    return platform::Use<platform::TPowerControl>().PowerOff();
}

}  // namespace kestrova
