#pragma once
// The messages for a file that cannot be opened, and how the libraries' results map onto them.
#include "engine/frame/LibHeaders.h"

#include <string>

namespace kestrova {

// The kinds of failure the messages distinguish, numbered by the result codes they were known
// by (the library results of today are mapped onto them by ClassifyOpenError).
enum TInputError : int {
    ieUnknownFormat = -42,
    ieImageFileNameSyntax = -33,
    ieHeaderParse = -22,
    ieNoMemory = -12,
    ieIO = -5,
    ieNoSuchFile = -2,
    ieOther = -1,
};

// The message for `fileName` ("%s: Unknown format", ...).
std::string InputErrorMessage(const std::string& fileName, TInputError error);

struct TOpenFailure {
    int Result = 0;                       // the negative library result
    bool FormatRecognised = true;         // a demuxer claims the file (forced or probed)
    bool ImageNameWithoutNumber = false;  // an image-sequence format with a name lacking %d
};

TInputError ClassifyOpenError(const TOpenFailure& failure);

// The kind of failure of opening `libraryName` (a name for the libraries) that gave the negative
// library `result`, with `forcedFormat` as the format asked for (null: probed). The file is
// probed again to tell an unknown format from a damaged header.
TInputError ClassifyOpenFailure(int result, const std::string& libraryName,
                                const AVInputFormat* forcedFormat);

// Probes the start of the file the way the library does when it opens one: true when some
// demuxer claims it with enough confidence. `libraryName` is a name for the libraries.
bool IsRecognisedFormat(const std::string& libraryName);

// The libraries' text for a negative error code: the system's reason for a system error
// ("Permission denied", "File name too long").
std::string LibraryErrorText(int error);

}  // namespace kestrova
