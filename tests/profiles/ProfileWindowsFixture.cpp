#include "tests/profiles/ProfileWindowsFixture.h"

#include "profiles/store/CurrentProfile.h"
#include "profiles/store/IndexDocument.h"

#include <QApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>

namespace kestrova::test {

namespace {

// The program folder of the build, where the skin pictures are drawn.
const QString kBuildProgramFolder = QStringLiteral(KESTROVA_PROGRAM_DIR);

QString Attribute(const char* name, const char* value) {
    return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), QString::fromUtf8(value));
}

}  // namespace

bool TFakeDriveInfo::IsCdRom(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    for (const QString& folder : CdRomFolders) {
        const QString cd = QDir::cleanPath(folder);
        if (clean == cd || clean.startsWith(cd + '/')) return true;
    }
    return false;
}

QByteArray ProfileXml(const char* extensions, const char* fileFormat,
                      const std::vector<TParameterValues>& parameters, const char* disableVideo) {
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<profile>\n  <Main>");
    xml += QStringLiteral("<extensionname%1/>").arg(Attribute("Value", extensions));
    xml += QStringLiteral("<fileformat%1/>").arg(Attribute("Value", fileFormat));
    xml += QStringLiteral("<targetprofile Value=\"\"/></Main>\n  <Parameter>\n");
    for (const TParameterValues& parameter : parameters)
        xml += QStringLiteral("    <%1%2%3/>\n")
                       .arg(QLatin1String(parameter.Name), Attribute("CandidatesValue", parameter.Candidates),
                            Attribute("DefaultValue", parameter.Default));
    xml += QStringLiteral("    <disablevideo%1/>\n  </Parameter>\n</profile>\n")
                   .arg(Attribute("DefaultValue", disableVideo));
    return xml.toUtf8();
}

QByteArray Mp4ProfileXml() {
    return ProfileXml("mp4,m4v", "mp4",
                      {{"videosize", "Auto - Original,320x240 - qvga,640x480 - vga", "320x240 - qvga"},
                       {"videobitrate", "Auto,384,768", "768"},
                       {"videoframerate", "Auto,25,29.97", "25"},
                       {"videoaspectratio", "Auto,4:3,16:9", "4:3"},
                       {"videocodec", "MPEG4,libx264", "mpeg4"},
                       {"audiochannel", "1,2", "2"},
                       {"audiobitrate", "64,128", "128"},
                       {"audiosamplerate", "22050,44100", "44100"},
                       {"audiovolume", "50,100,200", "100"},
                       {"audiocodec", "AAC", "aac"},
                       {"normtype", "Auto,PAL,NTSC", "PAL"}});
}

TProfileEntry Mp4Entry() {
    return {QStringLiteral("MPEG-4 Video(*.mp4)"), QStringLiteral("MPEG-4 video#13#10for players"),
            QStringLiteral("profile_mp4.png"), QStringLiteral("mp4.xml")};
}

TProfileEntry AviEntry() {
    return {QStringLiteral("AVI - Audio-Video Interleaved(*.avi)"),
            QStringLiteral("Format which allows video"), QStringLiteral("profile_avi.png"),
            QStringLiteral("avi.xml")};
}

ProfileWindowsTest::ProfileWindowsTest()
    : FDrives(new TFakeDriveInfo), FDriveScope(std::unique_ptr<platform::TDriveInfo>(FDrives)) {
    CurrentProfile() = {};
    FProgram = FTemp.path() + QStringLiteral("/program/");
    QDir().mkpath(FProgram + "profiles");
    QDir().mkpath(FProgram + "vhook");
    QFile::link(kBuildProgramFolder + "skin", FProgram + "skin");
    OutputFolder = Environment.MakeFolder(QStringLiteral("out"));
    FPreviousInformation = SetInformationDisplay(
            [this](QWidget*, const TInformation& information) { Informations.push_back(information); });
    FPreviousErrors = SetErrorDisplay([this](const TErrorNotice& notice) { Errors.push_back(notice); });
}

ProfileWindowsTest::~ProfileWindowsTest() {
    FDialog.reset();
    FPicker.reset();
    SetInformationDisplay(std::move(FPreviousInformation));
    SetErrorDisplay(std::move(FPreviousErrors));
    CurrentProfile() = {};
}

void ProfileWindowsTest::WriteFile(const QString& relative, const QByteArray& bytes) const {
    const QString path = FProgram + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

QByteArray ProfileWindowsTest::ReadFile(const QString& relative) const {
    QFile file(FProgram + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ProfileWindowsTest::Exists(const QString& relative) const {
    return QFileInfo::exists(FProgram + relative);
}

void ProfileWindowsTest::WriteIndex(const QString& fileName,
                                    const std::vector<TProfileEntry>& entries) const {
    QDomDocument document;
    document.setContent(QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?><main/>"));
    TIndexDocument index(document);
    for (const TProfileEntry& entry : entries) index.Append(entry);
    WriteFile("profiles/" + fileName, index.Document().toByteArray());
}

std::vector<TProfileEntry> ProfileWindowsTest::ReadIndex(const QString& fileName) const {
    QDomDocument document;
    document.setContent(ReadFile("profiles/" + fileName));
    return TIndexDocument(document).Entries();
}

void ProfileWindowsTest::InstallHookModules(const QStringList& names) const {
    for (const QString& name : names) WriteFile("vhook/" + name, QByteArray());
}

TListMenu& ProfileWindowsTest::Picker() {
    if (!FPicker) FPicker = std::make_unique<TListMenu>(FProgram);
    return *FPicker;
}

TfrmOption& ProfileWindowsTest::Dialog() {
    if (!FDialog) FDialog = std::make_unique<TfrmOption>(Picker(), OutputFolder);
    return *FDialog;
}

void SaveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KESTROVA_SCREENSHOTS");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    widget.grab().save(folder + '/' + name + ".png");
}

void MoveMouse(QWidget& widget, const QPoint& at) {
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

}  // namespace kestrova::test
