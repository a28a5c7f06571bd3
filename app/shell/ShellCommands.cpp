#include "app/shell/ShellCommands.h"

#include "platform/Services.h"

namespace kestrova {

bool ShellOpen(const QString& target)
{
    return platform::Use<platform::Shell>().Open(target);
}

bool ShowInFileManager(const QString& path)
{
    return platform::Use<platform::Shell>().ShowItem(path);
}

bool ShutDown()
{
    return platform::Use<platform::PowerControl>().PowerOff();
}

} // namespace kestrova
