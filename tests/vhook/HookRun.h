#pragma once
// Conversions with video hooks, run as a user runs them: the program's own command line on
// clips made by the project's generator.
#include "ProcessRun.h"

#include <string>
#include <vector>

namespace kestrova::vhooktest {

// A module or picture in the program folder's vhook/.
std::string VhookFile(const std::string& name);

// A generated clip re-encoded losslessly (raw video in NUT) in a pixel format and size, so that
// the hooks receive exactly that kind of picture and their output can be compared sample by
// sample. Made once into <build>/test-media/ and reused.
struct TSourceKind {
    std::string PixelFormat = "yuv420p";
    int Width = 320, Height = 240;
};
std::string StagedSource(const TSourceKind& kind);

// Converts `source` into `output` (raw video, so the pictures stay as the hooks left them),
// passing each line to the engine's "vhook" option, then the further output options.
testmedia::ProcessResult ConvertWithHooks(const std::string& source,
                                          const std::vector<std::string>& hookLines,
                                          const std::string& output,
                                          const std::vector<std::string>& options = {});

// Joins a module path and its arguments into one "vhook" value, with "|" between them when any
// piece holds a blank and a blank otherwise.
std::string HookLine(const std::vector<std::string>& pieces);

}  // namespace kestrova::vhooktest
