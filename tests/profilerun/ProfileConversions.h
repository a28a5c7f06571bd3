#pragma once
// Conversions of a generated clip with a profile's choices: the records built as the options
// dialog builds them, run as tasks of one engine component on two worker threads, each output
// then read back with the probe.
#include "engine/front/HostOptions.h"
#include "profiles/options/OptionChoices.h"
#include "profiles/options/ProfileChoices.h"

#include <QString>

#include <string>
#include <vector>

namespace kestrova::test {

// The program folder the build installs the profiles into.
QString ProgramFolder();
// Every profile file the built-in group list names, each once, in list order.
std::vector<std::string> BuiltInProfileFiles();

struct TConversion {
    std::string Name;  // what failure messages name
    TOptionChoices Choices;
    TOutputOptions Output;  // built when the run starts
    bool Finished = false;
    std::string Error;  // why the task did not finish
};

TConversion Conversion(std::string name, TOptionChoices choices);

// The profile's defaults with the overrides applied, over the probed clip, output into
// `outputFolder`. Raises std::runtime_error when the profile cannot be read or filled.
TOptionChoices ProfileChoicesFor(const std::string& profileFile, const TParameterOverrides& overrides,
                                 const TSourceInfo& source, const QString& outputFolder);

// The probed source of a generated FLV clip (FLV1 video with MP3 audio, stereo, 44100 Hz).
TSourceInfo ClipSource(double seconds, int width, int height);

// Builds the records of every conversion and runs them as tasks on two worker threads; each
// conversion's result is filled in. Raises std::runtime_error when a task cannot be added.
void ConvertAll(std::vector<TConversion>& conversions);

// The output read back: what the record asked for is what the file has (the streams, the
// frame size, the audio rate and channels), and, when `seconds` > 0, the duration within 0.2 s.
// Empty when it is all there; otherwise what differs.
std::string OutputMismatch(const TConversion& conversion, double seconds);

}  // namespace kestrova::test
