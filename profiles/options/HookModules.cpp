#include "profiles/options/HookModules.h"

#include <QFileInfo>

namespace kestrova {

const THookModule& HookModule(THook hook) {
    for (const THookModule& module : kHookModules)
        if (module.Hook == hook) return module;
    return kHookModules.front();  // every hook has its row
}

QString HookFolder(const QString& programFolder) {
    QString folder = programFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
    return folder + QStringLiteral("vhook/");
}

bool IsHookModulePresent(THook hook, const QString& programFolder) {
    return QFileInfo(HookFolder(programFolder) + QLatin1String(HookModule(hook).Module)).isFile();
}

}  // namespace kestrova
