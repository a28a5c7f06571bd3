#pragma once
// The texts of the queue's columns, from the probe when a file is added and from the engine's
// progress reports during a run.
#include <QString>
#include <QtGlobal>

namespace kestrova {

// "Total Time": the duration (microseconds) in whole seconds as hh:mm:ss, "N/A" when not positive.
QString TotalTimeText(qint64 durationMicroseconds);
// "File Size" and "Output Size": mebibytes with two decimals in the user's locale, then "MB".
QString MegabytesText(qint64 bytes);
// "Status" while a task runs: the whole percentage done followed by "%" (it may pass 100), or
// "N/A" when the total duration is unknown.
QString ProgressStatusText(qint64 currentMicroseconds, qint64 totalMicroseconds);
// "Output Duration": the microseconds written so far in whole seconds as hh:mm:ss.
QString OutputDurationText(qint64 currentMicroseconds);

// The window's title during a run and after it, so that the taskbar shows how far the queue
// is: "3 of 4 Completed - <title>", with ", 1 Aborted" after the count when rows were aborted
// (the title last, as the desktop shows a program's name).
QString QueueTitleText(const QString& title, int completed, int aborted, int rows);

inline const QString kStatusWaiting = QStringLiteral("Waiting");
inline const QString kStatusPause = QStringLiteral("Pause");
inline const QString kStatusCompleted = QStringLiteral("Completed");
inline const QString kStatusAborted = QStringLiteral("Aborted");
inline const QString kSettingsLinkText = QStringLiteral("Setting");

}  // namespace kestrova
