#include "app/queue/ReservedOutputs.h"

#include <QFile>
#include <QFileInfo>

namespace kestrova {

void ReleaseReservedOutput(const QString& path) {
    const QFileInfo file(path);
    if (file.exists() && file.isFile() && file.size() < kReservationBlockSize) QFile::remove(path);
}

QString FilteredOutputName(const QString& typed) {
    QString name = typed;
    for (const QChar forbidden : QStringLiteral("/\\:*?\"><|")) name.remove(forbidden);
    return name;
}

QString RenamedOutputPath(const QString& folder, const QString& name, const QString& extension) {
    const QString wanted = folder + name + extension;
    if (!QFileInfo::exists(wanted)) return wanted;
    // Only the name is cut: a folder whose name holds "_(new_" stays whole.
    QString plainName = name;
    const int numbered = plainName.indexOf(QStringLiteral("_(new_"));
    if (numbered >= 0) plainName.truncate(numbered);
    const QString stem = folder + plainName;
    for (int n = 1;; ++n) {
        const QString candidate = stem + QStringLiteral("_(new_%1)").arg(n) + extension;
        if (!QFileInfo::exists(candidate)) return candidate;
    }
}

bool ReserveOutputName(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

}  // namespace kestrova
