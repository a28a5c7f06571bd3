#include "app/queue/DropAcceptance.h"

#include <QFileInfo>

namespace kestrova {

namespace {

// The extension with its dot, or empty when the file name has none.
QString ExtensionWithDot(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
}

}  // namespace

bool HasConvertedExtension(const QString& path) {
    const QString extension = ExtensionWithDot(path);
    // A whole pattern of the filter, so that ".f" or ".mp" (parts of ".flv", ".mp4") do not pass.
    const QString pattern = QLatin1Char('*') + extension + QLatin1Char(';');
    return !extension.isEmpty() && kInputFileFilter.contains(pattern, Qt::CaseSensitive);
}

TDropVerdict JudgeDrop(const QStringList& droppedPaths, bool addingAllowed) {
    if (droppedPaths.isEmpty() || !addingAllowed) return TDropVerdict::Ignored;
    const QString& path = droppedPaths.first();
    if (QFileInfo(path).isDir()) return TDropVerdict::Ignored;
    return HasConvertedExtension(path) ? TDropVerdict::Accepted : TDropVerdict::Refused;
}

}  // namespace kestrova
