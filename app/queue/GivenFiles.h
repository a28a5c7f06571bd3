#pragma once
// Which of the paths a user hands the queue at once (chosen in the open dialog, dropped,
// named on the command line) are taken up, and why the others are not. A dropped folder stands
// for the files inside it and below it whose type the queue converts, in name order.
#include <QString>
#include <QStringList>

#include <vector>

namespace kestrova {

struct TNotAdded {
    QString Path;
    QString Reason;
};

struct TGivenFiles {
    QStringList Files;                // to be probed and queued, in this order
    std::vector<TNotAdded> NotAdded;  // given, but not taken up
};

// Dropped paths: files of the types the queue converts, and the matching files of dropped
// folders (sub-folders included); other files are not added, nor is a folder without one.
TGivenFiles CollectDroppedFiles(const QStringList& paths);
// Paths from the open dialog or the command line: every file goes to the probe, which decides;
// a folder is not added.
TGivenFiles CollectChosenFiles(const QStringList& paths);

// The one message for the paths that were not added: "3 files were not added:" followed by a
// line for each ("name: reason", the file's name without its folder), at most `shownLines`.
QString NotAddedMessage(const std::vector<TNotAdded>& notAdded, int shownLines = 12);
// Every one of them with its whole path: "path: reason" lines.
QString NotAddedDetails(const std::vector<TNotAdded>& notAdded);
// The reason without the path the media libraries put before their message.
QString ReasonWithoutPath(const QString& path, const QString& reason);

inline const QString kNotAConvertedType = QStringLiteral("not a type the queue converts");
inline const QString kIsAFolder = QStringLiteral("a folder");
inline const QString kNoConvertedFileInFolder =
        QStringLiteral("no file inside is of a type the queue converts");

}  // namespace kestrova
