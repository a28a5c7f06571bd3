#include "ChoicesFixture.h"

#include "profiles/options/ProfileChoices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrova::test {

TSourceInfo KnownSource(const std::string& fileName) {
    TSourceInfo source;
    source.FileName = fileName;
    source.File.Duration = 10'000'000;
    source.Video.Width = 640;
    source.Video.Height = 360;
    source.Video.FrameRateNum = 30000;
    source.Video.FrameRateDen = 1001;
    source.Video.BitRate = 1'234'567;
    source.Audio.SampleRate = 44100;
    source.Audio.Channels = 2;
    source.Audio.BitRate = 96000;
    return source;
}

std::string CaseName(TParameter parameter, std::optional<const char*> item) {
    std::string name = ParameterName(parameter).toStdString();
    name += item ? " = \"" + std::string(*item) + '"' : std::string(" = <none>");
    return name;
}

ChoicesTest::ChoicesTest() {
    Choices.ProfileFormat = "mp4";
    Choices.Extension = "mp4";
    Choices.Source = KnownSource(BytePath("source/clip.flv"));
    Choices.ProgramFolder = Path("program/");
    QDir().mkpath(Path("source"));
}

QString ChoicesTest::Path(const QString& relative) const {
    return Temp.path() + '/' + relative;
}

std::string ChoicesTest::BytePath(const QString& relative) const {
    return QFile::encodeName(Path(relative)).toStdString();
}

void ChoicesTest::WriteFile(const QString& relative, const QByteArray& bytes) const {
    const QString path = Path(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

TOptionChoices ChoicesTest::With(TParameter parameter, std::optional<const char*> item) const {
    TOptionChoices choices = Choices;
    if (item) choices.Parameters[parameter] = QString::fromUtf8(*item);
    return choices;
}

}  // namespace kestrova::test
