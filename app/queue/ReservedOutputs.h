#pragma once
// The output files a queue row reserves: the options dialog creates the output empty so that no
// other row takes the name; the in-place rename moves the reservation; removing a row that never
// wrote its output gives the name back.
#include <QString>

namespace kestrova {

// Outputs shorter than this are reservations (or the stub of a failed run) and are deleted when
// their row goes; anything longer is kept.
inline constexpr qint64 kReservationBlockSize = 128;

// Deletes the file when it exists and is shorter than kReservationBlockSize bytes.
void ReleaseReservedOutput(const QString& path);

// The typed output name without the characters a file name cannot hold: / \ : * ? " > < |
QString FilteredOutputName(const QString& typed);

// The path the rename takes: folder + name + extension, or when that exists the first free
// folder + name + "_(new_N)" + extension (N from 1), with a "_(new_" the name already carries cut
// off first. `folder` ends with a separator; `extension` has its dot.
QString RenamedOutputPath(const QString& folder, const QString& name, const QString& extension);

// Creates the file empty when no file of that name exists. False when it exists or cannot be made.
bool ReserveOutputName(const QString& path);

}  // namespace kestrova
