#include "app/queue/QueueTexts.h"

#include "shell/TimeText.h"

#include <QLocale>

namespace kestrova {

namespace {
constexpr qint64 kMicrosecondsPerSecond = 1000000;
}

QString TotalTimeText(qint64 durationMicroseconds) {
    if (durationMicroseconds <= 0) return QStringLiteral("N/A");
    return TimeText(durationMicroseconds / kMicrosecondsPerSecond);
}

QString MegabytesText(qint64 bytes) {
    const double megabytes = static_cast<double>(bytes) / 1024.0 / 1024.0;
    QLocale locale;  // the user's decimal separator, but no digit grouping: "1234.50MB"
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(megabytes, 'f', 2) + QStringLiteral("MB");
}

QString ProgressStatusText(qint64 currentMicroseconds, qint64 totalMicroseconds) {
    if (totalMicroseconds <= 0) return QStringLiteral("N/A");
    return QString::number(currentMicroseconds * 100 / totalMicroseconds) + QLatin1Char('%');
}

QString OutputDurationText(qint64 currentMicroseconds) {
    return TimeText(currentMicroseconds / kMicrosecondsPerSecond);
}

QString QueueTitleText(const QString& title, int completed, int aborted, int rows) {
    QString text = QStringLiteral("%1 of %2 Completed").arg(completed).arg(rows);
    if (aborted > 0) text += QStringLiteral(", %1 Aborted").arg(aborted);
    return text + QStringLiteral(" - ") + title;
}

}  // namespace kestrova
