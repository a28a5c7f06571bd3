#include "tests/profiles/ProgramFolderFixture.h"

#include "profiles/store/IndexDocument.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kestrova::test {

namespace {

const QByteArray kBuiltInProfile = R"(<?xml version="1.0" encoding="utf-8"?>
<profile>
  <Main>
    <extensionname Value=" mp4,m4v "/>
    <fileformat Value="mp4"/>
    <targetprofile Value="none"/>
  </Main>
  <Parameter>
    <videosize CandidatesValue="Auto - Original,320x240 - qvga,640x480 - vga" DefaultValue="320x240 - qvga"/>
    <videobitrate CandidatesValue="256,512,768" DefaultValue="512"/>
    <videoframerate CandidatesValue="Auto,25,29.97" DefaultValue="Auto"/>
    <videoaspectratio CandidatesValue="Auto,4:3,16:9" DefaultValue="4:3"/>
    <videocodec CandidatesValue="MPEG4,libx264" DefaultValue="MPEG4"/>
    <audiochannel CandidatesValue="1,2" DefaultValue="2"/>
    <audiobitrate CandidatesValue="64,128" DefaultValue="128"/>
    <audiosamplerate CandidatesValue="22050,44100" DefaultValue="44100"/>
    <audiovolume CandidatesValue="100,200" DefaultValue="100"/>
    <audiocodec CandidatesValue="aac,mp3" DefaultValue="aac"/>
    <disablevideo DefaultValue="false"/>
    <normtype CandidatesValue="Auto,PAL,NTSC" DefaultValue="Auto"/>
  </Parameter>
</profile>
)";

}  // namespace

ProgramFolderTest::ProgramFolderTest() {
    UseProgramFolder("program");
}

void ProgramFolderTest::UseProgramFolder(const QString& subfolder) {
    FProgram = FTemp.path() + '/' + subfolder + '/';
    QDir().mkpath(FProgram + "profiles");
    FStore.reset();
}

void ProgramFolderTest::WriteFile(const QString& relative, const QByteArray& bytes) const {
    const QString path = FProgram + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

QByteArray ProgramFolderTest::ReadFile(const QString& relative) const {
    QFile file(FProgram + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ProgramFolderTest::Exists(const QString& relative) const {
    return QFileInfo::exists(FProgram + relative);
}

void ProgramFolderTest::WriteBuiltInProfile(const QString& fileName) const {
    WriteFile("profiles/" + fileName, kBuiltInProfile);
}

void ProgramFolderTest::WriteIndex(const QString& fileName, const std::vector<TProfileEntry>& entries) const {
    QDomDocument document;
    document.setContent(QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?><main/>"));
    TIndexDocument index(document);
    for (const TProfileEntry& entry : entries) index.Append(entry);
    WriteFile("profiles/" + fileName, document.toByteArray());
}

std::vector<TProfileEntry> ProgramFolderTest::ReadIndex(const QString& fileName) const {
    QDomDocument document;
    EXPECT_TRUE(document.setContent(ReadFile("profiles/" + fileName))) << fileName.toStdString();
    return TIndexDocument(document).Entries();
}

TProfileStore& ProgramFolderTest::Store() {
    if (!FStore) {
        auto ask = [this](const QString& caption, const QString& prompt, const QString& initial) {
            Asked.push_back(TAsked{caption, prompt, initial});
            if (FAnswers.empty()) return initial;
            QString answer = FAnswers.front();
            FAnswers.pop_front();
            return answer;
        };
        FStore = std::make_unique<TProfileStore>(FProgram, ask, Current);
        FStore->SetOnListsChanged([this] { ++ListsChangedCount; });
    }
    return *FStore;
}

TProfileEntry Mp4Entry() {
    return TProfileEntry{"MPEG-4 Video(*.mp4)", "MPEG-4 video #13#10 for players.", "profile_mp4.png",
                         "mp4.xml"};
}

TProfileEntry NamedEntry(int number) {
    const QString n = QString::number(number);
    return TProfileEntry{"Profile " + n + "(*.avi)", "Description " + n, "profile_avi.png", "p" + n + ".xml"};
}

TWriteBlock::TWriteBlock(const QString& path) : FPath(path) {
    const bool isFolder = QFileInfo(path).isDir();
    if (isFolder && QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner)) {
        QFile probe(path + "/.write-probe");
        if (!probe.open(QIODevice::WriteOnly)) {
            FMode = TBlockMode::Permissions;
            return;
        }
        probe.close();
        probe.remove();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Permissions do not hold a privileged user back; the immutable flag does.
    if (SetImmutable(true)) FMode = TBlockMode::Immutable;
}

TWriteBlock::~TWriteBlock() {
    if (FMode == TBlockMode::Permissions)
        QFile::setPermissions(FPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    else if (FMode == TBlockMode::Immutable)
        SetImmutable(false);
}

bool TWriteBlock::SetImmutable(bool on) const {
    const int fd = ::open(QFile::encodeName(FPath).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

}  // namespace kestrova::test
