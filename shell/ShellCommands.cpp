#include "shell/ShellCommands.h"

#include "platform/Services.h"

namespace kestrova {

bool ShellOpen(const QString& target) {
    return platform::Use<platform::TShell>().Open(target);
}

bool ShowInFileManager(const QString& path) {
    return platform::Use<platform::TShell>().ShowItem(path);
}

bool ShutDown() {
    return platform::Use<platform::TPowerControl>().PowerOff();
}

}  // namespace kestrova
