#pragma once
#include <QString>

namespace kestrova {

// The folder new output files go to. The text is trimmed and loses one trailing separator; a
// folder that does not exist gives way to the user's video folder (created, one level only,
// when missing), and that to the program folder. The result ends in a separator.
// Throws std::runtime_error when the configured folder is missing and the user has no
// documents folder (see DefaultVideoFolder).
QString ResolveOutputFolder(const QString& folder);

// The user's video folder, without trailing separator. Throws std::runtime_error
// "Could not find MyDocuments folder location." when the user has no documents folder.
QString DefaultVideoFolder();

}  // namespace kestrova
