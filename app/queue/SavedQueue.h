#pragma once
// The queue's own file: the rows as a session left them, so that a queue survives a crash, a
// kill or a restart. Written whole on every change of the queue through a temporary file that
// is renamed over the old one, so a write cut short never leaves a damaged queue behind.
//
// Format: JSON (UTF-8), versioned.
//   {"kestrova-queue": 1, "rows": [row, ...]}             rows in display order
//   row:     status, failure, outputDuration, outputSize   the texts the row shows
//            editable, input, output, outputOurs           the row's records; outputOurs: the
//                                                          output file is one the queue made
//            profile {name, describe, image, file}         the profile entry the dialog showed
//            choices {...}                                 the options dialog's choices (all
//                                                          of TOptionChoices but ProgramFolder,
//                                                          which is the running program's)
//   Byte strings (paths and texts as the media libraries gave them) are JSON strings when they
//   are UTF-8, else {"base64": "..."}; integers are exact; a missing member keeps its default.
// A file with a higher version, or one that is not a queue file, is refused like a damaged one.
#include "profiles/options/OptionChoices.h"
#include "profiles/store/ProfileEntry.h"

#include <QByteArray>
#include <QString>

#include <stdexcept>
#include <vector>

namespace kestrova {

inline constexpr int kSavedQueueVersion = 1;

struct TSavedRow {
    QString Status;
    QString FailureText;
    QString OutputDurationText;
    QString OutputSizeText;
    bool Editable = true;
    QString InputFileName;
    QString OutputFileName;
    bool OutputOurs = false;  // the file named OutputFileName was made by the queue
    TProfileEntry Profile;
    TOptionChoices Choices;
};

struct TSavedQueue {
    std::vector<TSavedRow> Rows;
};

// Why a text is not a queue file this program reads.
class EQueueFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

QByteArray QueueFileText(const TSavedQueue& queue);
// Raises EQueueFile with the reason.
TSavedQueue ParseQueueFile(const QByteArray& text);

enum class TQueueFileState { Missing, Read, Damaged };

struct TQueueFileRead {
    TQueueFileState State = TQueueFileState::Missing;
    TSavedQueue Queue;
    QString Error;  // why a damaged file could not be read
};

TQueueFileRead ReadQueueFile(const QString& path);

// Writes the whole queue through a temporary file renamed over `path`. False with the reason
// in `error`; the old file is then left as it was.
bool WriteQueueFile(const QString& path, const TSavedQueue& queue, QString* error);

// Moves a file that could not be read out of the way, beside itself as
// "<name>.damaged-<yyyyMMdd-hhmmss>" (with "-N" added when that exists), for the user to look
// at. The new path, or empty when it could not be moved.
QString SetDamagedFileAside(const QString& path);

}  // namespace kestrova
