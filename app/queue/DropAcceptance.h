#pragma once
// Which dropped files the queue takes up.
#include <QString>
#include <QStringList>

namespace kestrova {

// The open dialog's filter, whose text also decides which dropped files are accepted.
inline const QString kInputFileFilter = QStringLiteral("FLV/MP4/MP3|*.flv;*.f4v;*.mp4;*.mp3;*.wma;*.wav;");

enum class TDropVerdict {
    Accepted,
    Ignored,  // a folder, nothing dropped, or the queue does not take files now: no message
    Refused   // an extension the queue does not convert: "Invalid File!"
};

// Whether the file name's extension is one of the filter's patterns exactly as typed (".FLV" is
// not).
bool HasConvertedExtension(const QString& path);

// The first dropped path decides; the others are dropped silently. The extension must be one of
// the filter's patterns exactly as typed (".FLV" is refused).
TDropVerdict JudgeDrop(const QStringList& droppedPaths, bool addingAllowed);

inline const QString kInvalidFileMessage = QStringLiteral("Invalid File!");

}  // namespace kestrova
