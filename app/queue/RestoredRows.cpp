#include "app/queue/RestoredRows.h"

#include "app/queue/QueueTexts.h"
#include "app/queue/ReservedOutputs.h"
#include "profiles/options/SourceFromProbe.h"

#include <QFile>
#include <QFileInfo>

namespace kestrova {

namespace {

bool IsEmptyFile(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.size() == 0;
}

}  // namespace

bool HasEnded(const TSavedRow& row) {
    return row.Status == kStatusCompleted || row.Status == kStatusAborted;
}

QString SourceProblem(const TSavedRow& row) {
    const TSourceInfo& source = row.Choices.Source;
    const TFileStamp now = StampOfFile(source.FileName);
    if (now.Size < 0) return QStringLiteral("The source file is gone.");
    // A source that could not be looked at when it was queued is taken as it is.
    if (source.Stamp.Size >= 0 && now != source.Stamp)
        return QStringLiteral("The source file has changed since it was queued.");
    return {};
}

QString PrepareOutputForRun(const TSavedRow& row) {
    const QString& output = row.OutputFileName;
    const QFileInfo file(output);
    if (row.OutputOurs && file.isFile() && file.size() > 0) QFile::remove(output);
    if (ReserveOutputName(output) || (row.OutputOurs && IsEmptyFile(output))) return output;
    if (!file.exists()) return output;  // cannot be made: the run reports why
    const QString suffix = file.suffix();
    const QString chosen = RenamedOutputPath(file.absolutePath() + QLatin1Char('/'), file.completeBaseName(),
                                             suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
    ReserveOutputName(chosen);
    return chosen;
}

void GiveBackReservation(const TSavedRow& row) {
    if (row.OutputOurs && IsEmptyFile(row.OutputFileName)) QFile::remove(row.OutputFileName);
}

}  // namespace kestrova
