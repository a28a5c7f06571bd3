#include "app/queue/GivenFiles.h"

#include "app/queue/DropAcceptance.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace kestrova {

namespace {

// The folder's matching files in name order, then those of its sub-folders, each folder once
// (a link back up the tree is not followed again).
void CollectFolder(const QString& folder, QSet<QString>& visited, QStringList& files) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical)) return;
    visited.insert(canonical);
    const QDir dir(folder);
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files, QDir::Name))
        if (HasConvertedExtension(file.fileName())) files << file.absoluteFilePath();
    for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        CollectFolder(sub.absoluteFilePath(), visited, files);
}

}  // namespace

TGivenFiles CollectDroppedFiles(const QStringList& paths) {
    TGivenFiles given;
    QSet<QString> visited;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            const qsizetype before = given.Files.size();
            CollectFolder(path, visited, given.Files);
            if (given.Files.size() == before) given.NotAdded.push_back({path, kNoConvertedFileInFolder});
        } else if (HasConvertedExtension(path)) {
            given.Files << path;
        } else {
            given.NotAdded.push_back({path, kNotAConvertedType});
        }
    }
    return given;
}

TGivenFiles CollectChosenFiles(const QStringList& paths) {
    TGivenFiles given;
    for (const QString& path : paths) {
        if (QFileInfo(path).isDir())
            given.NotAdded.push_back({path, kIsAFolder});
        else
            given.Files << path;
    }
    return given;
}

QString NotAddedMessage(const std::vector<TNotAdded>& notAdded, int shownLines) {
    const int count = static_cast<int>(notAdded.size());
    QString text = count == 1 ? QStringLiteral("1 file was not added:")
                              : QStringLiteral("%1 files were not added:").arg(count);
    for (int line = 0; line < count && line < shownLines; ++line) {
        const TNotAdded& item = notAdded[static_cast<std::size_t>(line)];
        text += QLatin1Char('\n') + QFileInfo(item.Path).fileName() + QStringLiteral(": ") + item.Reason;
    }
    if (count > shownLines) text += QStringLiteral("\n... and %1 more").arg(count - shownLines);
    return text;
}

QString NotAddedDetails(const std::vector<TNotAdded>& notAdded) {
    QStringList lines;
    for (const TNotAdded& item : notAdded)
        lines << QDir::toNativeSeparators(item.Path) + QStringLiteral(": ") + item.Reason;
    return lines.join(QLatin1Char('\n'));
}

QString ReasonWithoutPath(const QString& path, const QString& reason) {
    const QString prefix = path + QStringLiteral(": ");
    return reason.startsWith(prefix) ? reason.mid(prefix.size()) : reason;
}

}  // namespace kestrova
