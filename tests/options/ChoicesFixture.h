#pragma once
// A row's choices over a temporary folder: a source path inside it (the file itself is not
// needed to build records), output beside the source, a program folder for the hook modules,
// and a probed source with known streams.
#include "profiles/options/OptionBuilder.h"
#include "profiles/options/OptionChoices.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kestrova::test {

// The source the choices start with: a 640x360 NTSC-rate video stream at 1234567 bit/s and
// a stereo 44100 Hz audio stream at 96000 bit/s, ten seconds long.
TSourceInfo KnownSource(const std::string& fileName);

// "videosize = <item>" for a failure message ("<none>" when nothing is selected).
std::string CaseName(TParameter parameter, std::optional<const char*> item);

class ChoicesTest : public ::testing::Test {
protected:
    ChoicesTest();

    // Temporary folder + "/" + relative.
    QString Path(const QString& relative) const;
    std::string BytePath(const QString& relative) const;
    void WriteFile(const QString& relative, const QByteArray& bytes) const;

    // The choices with one parameter's item set (nullopt: no selection).
    TOptionChoices With(TParameter parameter, std::optional<const char*> item) const;

    TOutputOptions Build() const { return BuildOutputOptions(Choices); }

    QTemporaryDir Temp;
    TOptionChoices Choices;
};

}  // namespace kestrova::test
