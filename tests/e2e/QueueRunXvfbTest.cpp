// The hang check: the real program, driven as a user drives it (real X input through xdotool),
// converts four 3 s clips with an H.264 profile on three processes, ten times in a row. Every
// run must see all four rows "Completed" (the window's title counts them) within a generous
// limit; a run that does not prints every thread's stack of the program and fails.
#include "tests/e2e/VirtualScreen.h"
#include "tests/support/TestMedia.h"
#include "ui/skin/OutputOptionsLayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using namespace std::chrono_literals;
using namespace kestrova::e2e;

constexpr int kRuns = 10;
constexpr int kClips = 4;
constexpr auto kRunLimit = 180s;
const QString kTitle = QStringLiteral("Orvanta Kestrova");
const QPoint kStartButtonCentre{421, 121};  // btnStart, 42 x 42 at (400, 100)

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

class QueueRunXvfbTest : public ::testing::Test {
protected:
    // A program folder of the test's own, laid out as build/bin: the program with its skin,
    // profiles and hooks, and the settings a user chose: three processes, outputs into "out",
    // and the H.264 profile as the recent one that each options dialog starts with.
    void MakeProgramFolder() {
        const QString bin = QString::fromStdString(kestrova::testmedia::BuildDir()) + "/bin/";
        QDir(FRoot).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(FRoot + "/clips"));
        for (const char* part : {"kestrova", "skin", "profiles", "vhook"})
            RunTool("cp", {"-r", bin + part, FRoot}, FScreen.Environment());
        ASSERT_TRUE(QFile::exists(FRoot + "/kestrova"));
        WriteFile(FRoot + "/Setting.ini",
                  "[general]\nprocesses=3\noutputfolder=" + FRoot.toUtf8() + "/out/\n");
        WriteFile(FRoot + "/profiles/recent.xml",
                  "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<main><profile profilename=\"H.264 - MPEG-4 "
                  "AVC Video(*.mp4)\" describename=\"\" profileimage=\"profile_mp4.png\" "
                  "profilefile=\"mp4h264.xml\"/></main>\n");
        kestrova::testmedia::ClipSpec spec;
        spec.format = "flv";
        spec.duration = 3.0;
        spec.width = 320;
        spec.height = 240;
        const QString clip = QString::fromStdString(kestrova::testmedia::Clip(spec));
        for (int n = 1; n <= kClips; ++n) {
            FClips << FRoot + QStringLiteral("/clips/clip%1.flv").arg(n);
            ASSERT_TRUE(QFile::copy(clip, FClips.back()));
        }
    }

    QStringList Xdo(const QStringList& arguments) {
        return RunTool("xdotool", arguments, FScreen.Environment()).split('\n', Qt::SkipEmptyParts);
    }
    QStringList VisibleWindows(const QString& name) {
        return Xdo({"search", "--onlyvisible", "--name", name});
    }
    QStringList VisibleWindowNames() {
        QStringList names;
        for (const QString& id : VisibleWindows(".")) names << Xdo({"getwindowname", id}).value(0);
        return names;
    }
    void Click(const QString& window, QPoint at) {
        Xdo({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()), "click",
             "1"});
    }
    // Clicks until `done` holds (a window that just appeared may still move to its place).
    bool ClickUntil(const QString& window, QPoint at, const std::function<bool()>& done) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            Click(window, at);
            if (WaitFor(done, 2s)) return true;
        }
        return false;
    }

    // One run of the program, from its start to all four rows "Completed"; the seconds it took.
    double Run() {
        QDir(FRoot + "/out").removeRecursively();
        QDir().mkpath(FRoot + "/out");
        QProcess program;
        program.setProcessEnvironment(FScreen.Environment());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer clock;
        clock.start();
        program.start(FRoot + "/kestrova", FClips);
        EXPECT_TRUE(program.waitForStarted(5000));
        const auto running = [&] { return program.state() == QProcess::Running; };
        // Each file's options dialog, confirmed with OK.
        QStringList confirmed;
        for (int n = 0; n < kClips; ++n) {
            QString dialog;
            EXPECT_TRUE(WaitFor(
                    [&] {
                        for (const QString& id : VisibleWindows("^Output Options$"))
                            if (!confirmed.contains(id)) dialog = id;
                        return !dialog.isEmpty() || !running();
                    },
                    30s))
                    << "options dialog " << n + 1
                    << " did not come; the screen shows: " << VisibleWindowNames().join(" | ").toStdString();
            if (dialog.isEmpty()) return -1;
            confirmed << dialog;
            if (!ClickUntil(dialog, kestrova::skin::kOkRect.center(),
                            [&] { return !VisibleWindows("^Output Options$").contains(dialog); })) {
                ADD_FAILURE() << "options dialog " << n + 1 << " did not take OK";
                return -1;
            }
        }
        const QStringList main = VisibleWindows(kTitle + "$");
        if (main.size() != 1) {
            ADD_FAILURE() << "no single main window";
            return -1;
        }
        const auto title = [&] { return Xdo({"getwindowname", main.front()}).value(0); };
        EXPECT_TRUE(ClickUntil(main.front(), kStartButtonCentre, [&] { return title() != kTitle; }));
        const QString done = QStringLiteral("%1 of %1 Completed - ").arg(kClips) + kTitle;
        if (!WaitFor([&] { return title() == done || title().contains("Aborted") || !running(); },
                     kRunLimit)) {
            PrintStacks(program.processId());
            ADD_FAILURE() << "the rows did not complete within " << kRunLimit.count()
                          << " s: the title says \"" << title().toStdString() << "\"";
        } else {
            EXPECT_EQ(title(), done);
        }
        const double seconds = clock.nsecsElapsed() / 1e9;
        program.terminate();
        if (!program.waitForFinished(5000)) program.kill();
        program.waitForFinished();
        return seconds;
    }

    // Every thread's stack of the program, as the debugger sees them.
    static void PrintStacks(qint64 pid) {
        QProcess debugger;
        debugger.setProcessChannelMode(QProcess::MergedChannels);
        debugger.start("gdb", {"-batch", "-p", QString::number(pid), "-ex", "thread apply all bt"});
        debugger.waitForFinished(120000);
        std::fprintf(stderr, "%s\n", debugger.readAll().constData());
    }

    TVirtualScreen FScreen;
    QString FRoot = QString::fromStdString(kestrova::testmedia::BuildDir()) + "/test-tmp/e2e/queue-run";
    QStringList FClips;
};

TEST_F(QueueRunXvfbTest, FourH264ConversionsOnThreeProcessesCompleteTenTimesInARow) {
    for (const char* tool : {"Xvfb", "xdotool", "gdb"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
    ASSERT_FALSE(FScreen.Display().isEmpty()) << "no virtual X server could be started";
    MakeProgramFolder();
    for (int run = 1; run <= kRuns; ++run) {
        const double seconds = Run();
        std::printf("run %d: %.1f s\n", run, seconds);
        std::fflush(stdout);
        ASSERT_FALSE(HasFailure()) << "run " << run;
    }
}

}  // namespace
