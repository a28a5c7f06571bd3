// From a file chosen to its options dialog ready with the first preview picture: the probe
// opens a 640x360 clip, the dialog is made (the profile of the recent list loaded, the skin
// pictures read), takes the source (media information, track bar, the first picture decoded)
// and is shown and drawn off screen. The program's picker already exists, as it does from
// start-up, and the media libraries are loaded. Target: at most 150 ms.
// BM_PreviewPictureLateInARun times one preview picture far from its key picture.
#include "bench/harness/BenchSupport.h"
#include "tests/support/TestMedia.h"

#include "engine/frame/AVProbe.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "profiles/dialog/OptionFrm.h"
#include "profiles/dialog/PreviewDecode.h"
#include "profiles/picker/ListMenu.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <memory>
#include <stdexcept>

namespace {

using namespace kestrova;

const QByteArray kProfile = R"(<?xml version="1.0" encoding="utf-8"?>
<profile>
  <Main><extensionname Value="mp4"/><fileformat Value="mp4"/><targetprofile Value=""/></Main>
  <Parameter>
    <videosize CandidatesValue="Auto - Original,320x240 - qvga,640x480 - vga" DefaultValue="Auto - Original"/>
    <videobitrate CandidatesValue="Auto,384,768,1500" DefaultValue="768"/>
    <videoframerate CandidatesValue="Auto,25,29.97" DefaultValue="Auto"/>
    <videoaspectratio CandidatesValue="Auto,4:3,16:9" DefaultValue="Auto"/>
    <videocodec CandidatesValue="MPEG4,libx264" DefaultValue="libx264"/>
    <audiochannel CandidatesValue="1,2" DefaultValue="2"/>
    <audiobitrate CandidatesValue="64,128,192" DefaultValue="128"/>
    <audiosamplerate CandidatesValue="22050,44100,48000" DefaultValue="44100"/>
    <audiovolume CandidatesValue="50,100,200" DefaultValue="100"/>
    <audiocodec CandidatesValue="AAC" DefaultValue="aac"/>
    <normtype CandidatesValue="Auto,PAL,NTSC" DefaultValue="Auto"/>
  </Parameter>
</profile>
)";

const QByteArray kRecent = R"xml(<?xml version="1.0" encoding="utf-8"?>
<main><profile profilename="MPEG-4 Video(*.mp4)" describename="MPEG-4 video" profileimage="profile_mp4.png" profilefile="mp4.xml"/></main>
)xml";

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// The program as it stands once started: its window system, its media libraries, its picker,
// over a program folder with the built skin and one recent profile.
struct TProgram {
    TProgram() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        Application = std::make_unique<QApplication>(Argc, Argv);
        if (!LoadMediaLibraries()) throw std::runtime_error(TFFmpegLoader::Instance().LastError());
        TFFLogger::Instance().OnLog = nullptr;
        const QString folder = QString::fromStdString(bench::ScratchDir("dialog-ready")) + '/';
        QDir().mkpath(folder + "profiles");
        QFile::link(QStringLiteral(KESTROVA_PROGRAM_DIR) + "skin", folder + "skin");
        WriteFile(folder + "profiles/mp4.xml", kProfile);
        WriteFile(folder + "profiles/recent.xml", kRecent);
        OutputFolder = folder + "out";
        QDir().mkpath(OutputFolder);
        Picker = std::make_unique<TListMenu>(folder);
        testmedia::ClipSpec spec;
        spec.format = "mp4";
        spec.duration = 30.0;
        spec.width = 640;
        spec.height = 360;
        Clip = testmedia::Clip(spec);
    }

    static TProgram& Instance() {
        static TProgram program;
        return program;
    }

    int Argc = 1;
    char ArgvName[9] = "kestrova";
    char* Argv[2] = {ArgvName, nullptr};
    std::unique_ptr<QApplication> Application;
    std::unique_ptr<TListMenu> Picker;
    QString OutputFolder;
    std::string Clip;
};

void BM_FileChosenToDialogReady(benchmark::State& state) {
    TProgram& program = TProgram::Instance();
    for (auto _ : state) {
        TAVProbe probe;
        if (!probe.LoadFile(program.Clip)) throw std::runtime_error(probe.LastErrMsg());
        auto dialog = std::make_unique<TfrmOption>(*program.Picker, program.OutputFolder);
        dialog->SetSource(probe);
        dialog->show();
        QApplication::processEvents();  // laid out and drawn, the picture with it
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
    bench::ReportPeakMemory(state);
}
BENCHMARK(BM_FileChosenToDialogReady)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One picture of a track-bar move: a seek to the key picture before the time and decoding on
// to the time, which here lies late in a one-second run of pictures (the most work a move
// asks for in this clip). Figure for how far a drag can fall behind.
void BM_PreviewPictureLateInARun(benchmark::State& state) {
    TProgram& program = TProgram::Instance();
    TAVProbe probe;
    if (!probe.LoadFile(program.Clip)) throw std::runtime_error(probe.LastErrMsg());
    TEngineBitmap bitmap;
    int64_t second = 0;
    for (auto _ : state) {
        const int64_t time = second * 1000000 + 960000;  // the 25th picture of its second
        if (!DecodePictureAt(probe, time, 40000, bitmap)) throw std::runtime_error(probe.LastErrMsg());
        second = (second + 7) % 29;
    }
}
BENCHMARK(BM_PreviewPictureLateInARun)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
