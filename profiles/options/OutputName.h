#pragma once
// The output file of a row: named after its source, "_(new)" or "_(new_N)" added, and
// reserved on disk as a new empty file so that no later conversion takes the same name.
#include <QString>

#include <string>

namespace kestrova {

// The source path without its extension, in `outputFolder` (or beside the source when the
// folder is kSameAsInput or empty). Paths are bytes as the file system takes them, so a name
// in any characters is kept as it is.
std::string OutputNameBase(const std::string& sourcePath, const QString& outputFolder);

// Creates base + "_(new)" + extension, or the first base + "_(new_N)" + extension (N = 1, 2 ...)
// that does not exist yet, as a new empty file and returns its path. The file is created
// exclusively: an existing file is never opened, let alone truncated, and of several callers
// racing for one name only one gets it. When a name cannot be created for another reason (a
// folder that is missing or not writable) that free name is returned unreserved, and the
// conversion reports the problem when it writes.
std::string ReserveOutputFile(const std::string& base, const std::string& extension);

}  // namespace kestrova
