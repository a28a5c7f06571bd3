// The whole program's queue, in this process through its real windows (off screen):
//  - BM_HundredQueuedFiles: the resident memory with 100 files queued and not started, each
//    with its probe-made task and its own options dialog. Target: at most 60 MB plus 2 MB a file.
//  - BM_HundredFilesThroughOneDialog: 100 generated clips added at once, the first file's dialog
//    ticked to serve the other 99: the time from the call to the 100th row, and the resident
//    memory then. Targets: at most 10 s; at most 60 MB plus 2 MB a file.
//  - BM_WindowQueueOverCommandLine: four 60 s 640x360 FLV files converted with the H.264
//    profile's defaults ("mp4h264.xml") on three processes through the window (from Start to the
//    end of the queue, with the window's own engine and logger settings), against the command
//    line's profile mode over the same files with -processes 3 (the whole program run). Target:
//    window / command line at most 1.03 (counter ratio).
#include "app/main/MainFrm.h"
#include "app/main/QueueController.h"
#include "app/main/StartUp.h"
#include "app/settings/Settings.h"
#include "bench/harness/BenchSupport.h"
#include "profiles/dialog/OptionFrm.h"
#include "profiles/picker/ProfileComboItems.h"
#include "profiles/store/StorePaths.h"
#include "tests/support/TestMedia.h"
#include "ui/skin/ListViewEx.h"
#include "ui/skin/XGraphic.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace kestrova;
using namespace kestrova::bench;

const QString kProgramDir = QStringLiteral(KESTROVA_PROGRAM_DIR);
const QString kQueuedProfileFile = QStringLiteral("mp4.xml");
const QString kRunProfileFile = QStringLiteral("mp4h264.xml");
constexpr int kFiles = 4;
constexpr int kRunProcesses = 3;
constexpr int kQueuedFiles = 100;

// The benchmarks' application object, made once on the main thread.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "kestrova_bench_queue_run";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> application = [] {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }();
}

std::string SourceClip(double seconds, int width, int height) {
    testmedia::ClipSpec spec;
    spec.format = "flv";
    spec.duration = seconds;
    spec.width = width;
    spec.height = height;
    return testmedia::Clip(spec);
}

// Every options dialog gets the benchmark's profile and is confirmed with OK.
class TDialogConfirmer {
public:
    explicit TDialogConfirmer(const QString& profileFile, bool useForRemaining = false) {
        FTimer.setInterval(10);
        QObject::connect(&FTimer, &QTimer::timeout, [profileFile, useForRemaining] {
            auto* dialog = qobject_cast<TfrmOption*>(QApplication::activeModalWidget());
            if (!dialog) return;
            if (auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("chkUseForRemaining")))
                box->setChecked(useForRemaining);
            if (auto* profile = dialog->findChild<QComboBox*>(QStringLiteral("cboProfile"))) {
                FillProfileCombo(*profile, profileFile, QIcon(), kProgramDir + "profiles/" + profileFile);
                dialog->LoadProfile();
            }
            dialog->accept();
        });
        FTimer.start();
    }

private:
    QTimer FTimer;
};

std::unique_ptr<TProgramWindows> ProgramWith(const std::string& outputFolder, int processes,
                                             const QString& queueFile = {}) {
    AppSettings().Values().OutputFolder = QString::fromStdString(outputFolder) + QLatin1Char('/');
    AppSettings().Values().Processes = processes;
    return std::make_unique<TProgramWindows>(TStorePaths(kProgramDir), QStringList{}, queueFile);
}

void BM_HundredQueuedFiles(benchmark::State& state) {
    EnsureApplication();
    const QString clip = QString::fromStdString(SourceClip(3.0, 640, 360));
    for (auto _ : state) {
        const std::string folder = ScratchDir("hundred-queued");
        TDialogConfirmer confirmer(kQueuedProfileFile);
        auto program = ProgramWith(folder, 2);
        program->Queue().TakeUpNewFile(clip);  // the libraries and the first dialog's pictures
        const long before = PeakResidentKiB();
        for (int file = 1; file < kQueuedFiles; ++file) program->Queue().TakeUpNewFile(clip);
        const long after = PeakResidentKiB();
        if (program->MainWindow().lvFiles->topLevelItemCount() != kQueuedFiles)
            throw std::runtime_error("not every file was queued");
        state.counters["rss_MiB"] = static_cast<double>(after) / 1024.0;
        state.counters["per_file_MiB"] = static_cast<double>(after - before) / 1024.0 / (kQueuedFiles - 1);
        state.counters["budget_MiB"] = 60.0 + 2.0 * kQueuedFiles;
    }
}
BENCHMARK(BM_HundredQueuedFiles)->Unit(benchmark::kSecond)->Iterations(1);

void BM_HundredFilesThroughOneDialog(benchmark::State& state) {
    EnsureApplication();
    const QString clip = QString::fromStdString(SourceClip(3.0, 640, 360));
    for (auto _ : state) {
        const std::string folder = ScratchDir("hundred-batch");
        const QString clips = QString::fromStdString(folder) + QStringLiteral("/clips/");
        QDir().mkpath(clips);
        QStringList files;
        for (int file = 1; file <= kQueuedFiles; ++file) {
            files << clips + QStringLiteral("episode%1.flv").arg(file, 3, 10, QLatin1Char('0'));
            QFile::copy(clip, files.back());
        }
        TDialogConfirmer confirmer(kQueuedProfileFile, true);
        // The queue is saved on every row, as the running program saves it.
        auto program = ProgramWith(folder, 2, QString::fromStdString(folder) + QStringLiteral("/queue.json"));
        QElapsedTimer clock;
        clock.start();
        program->Queue().TakeUpNewFiles(files);
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (program->MainWindow().lvFiles->topLevelItemCount() != kQueuedFiles)
            throw std::runtime_error("not every file was queued");
        state.counters["add_s"] = seconds;
        state.counters["target_s"] = 10.0;
        state.counters["rss_MiB"] = static_cast<double>(PeakResidentKiB()) / 1024.0;
        state.counters["budget_MiB"] = 60.0 + 2.0 * kQueuedFiles;
    }
}
BENCHMARK(BM_HundredFilesThroughOneDialog)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

double WindowRunSeconds(const std::string& clip) {
    const std::string folder = ScratchDir("window-queue");
    TDialogConfirmer confirmer(kRunProfileFile);
    auto program = ProgramWith(folder, kRunProcesses);
    for (int file = 0; file < kFiles; ++file) program->Queue().TakeUpNewFile(QString::fromStdString(clip));
    TfrmMain& window = program->MainWindow();
    // The event loop waits as the program's own does: polling it would take a core from the run.
    QEventLoop untilEnd;
    QObject::connect(&program->Queue().Run(), &TRunControl::QueueEnded, &untilEnd, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    emit window.btnStart->OnClick();
    untilEnd.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    for (int row = 0; row < kFiles; ++row)
        if (program->Queue().Rows().StatusText(row) != QStringLiteral("Completed"))
            throw std::runtime_error("a conversion of the window's queue did not complete");
    return seconds;
}

double CommandLineRunSeconds(const std::string& clip) {
    const std::string folder = ScratchDir("command-line-queue");
    const std::string program = kProgramDir.toStdString() + "kestrova-cli";
    std::vector<std::string> arguments{program, "--profile", kRunProfileFile.toStdString()};
    for (int file = 0; file < kFiles; ++file) arguments.push_back(clip);
    for (const std::string& more :
         {std::string("--out-folder"), folder, std::string("-processes"), std::to_string(kRunProcesses)})
        arguments.push_back(more);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the command line's queue did not finish");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_WindowQueueOverCommandLine(benchmark::State& state) {
    EnsureApplication();
    const std::string clip = SourceClip(60.0, 640, 360);
    double window = 0, commandLine = 0;
    for (auto _ : state) {
        commandLine += CommandLineRunSeconds(clip);
        window += WindowRunSeconds(clip);
    }
    state.counters["window_s"] = window / static_cast<double>(state.iterations());
    state.counters["command_line_s"] = commandLine / static_cast<double>(state.iterations());
    state.counters["ratio"] = window / commandLine;
}
BENCHMARK(BM_WindowQueueOverCommandLine)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
