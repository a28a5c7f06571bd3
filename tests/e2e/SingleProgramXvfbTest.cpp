// One running program: with the program up, a second start with a file hands the file to it
// and exits 0 at once; the running window takes the file up (its options dialog comes) and
// keeps it in its queue file. Two real processes under a virtual X server.
#include "tests/e2e/VirtualScreen.h"
#include "tests/support/TestMedia.h"
#include "ui/skin/OutputOptionsLayout.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using namespace kestrova::e2e;

TEST(SingleProgramXvfbTest, ASecondStartHandsItsFileToTheRunningProgramAndExits) {
    for (const char* tool : {"Xvfb", "xdotool"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
    TVirtualScreen screen;
    ASSERT_FALSE(screen.Display().isEmpty()) << "no virtual X server could be started";
    const QString bin = QString::fromStdString(kestrova::testmedia::BuildDir()) + "/bin/";
    const QString root =
            QString::fromStdString(kestrova::testmedia::BuildDir()) + "/test-tmp/e2e/single-program";
    QDir(root).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(root + "/out"));
    for (const char* part : {"kestrova", "skin", "profiles", "vhook"})
        RunTool("cp", {"-r", bin + part, root}, screen.Environment());
    QFile settings(root + "/Setting.ini");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[general]\noutputfolder=" + root.toUtf8() + "/out/\n");
    settings.close();
    QStringList clips;
    for (const char* name : {"/first.flv", "/second.flv"}) {
        clips << root + name;
        ASSERT_TRUE(QFile::copy(QString::fromStdString(kestrova::testmedia::Clip({})), clips.back()));
    }
    const auto xdo = [&](const QStringList& arguments) {
        return RunTool("xdotool", arguments, screen.Environment()).split('\n', Qt::SkipEmptyParts);
    };
    // Waits for an options dialog and confirms it.
    const auto confirmDialog = [&] {
        QString dialog;
        if (!WaitFor(
                    [&] {
                        return !(dialog = xdo({"search", "--onlyvisible", "--name", "^Output Options$"})
                                                  .value(0))
                                        .isEmpty();
                    },
                    30s))
            return false;
        const QPoint ok = kestrova::skin::kOkRect.center();
        return WaitFor(
                [&] {
                    xdo({"mousemove", "--window", dialog, QString::number(ok.x()), QString::number(ok.y()),
                         "click", "1"});
                    return !xdo({"search", "--onlyvisible", "--name", "^Output Options$"}).contains(dialog);
                },
                20s);
    };

    QProcess first;
    first.setProcessEnvironment(screen.Environment());
    first.start(root + "/kestrova", {clips[0]});
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(confirmDialog()) << "the first program's dialog";
    QProcess second;
    second.setProcessEnvironment(screen.Environment());
    second.start(root + "/kestrova", {clips[1]});
    ASSERT_TRUE(second.waitForFinished(15000)) << "the second start did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(confirmDialog()) << "the running program did not take the handed file up";
    const auto queued = [&] {
        QFile queue(root + "/queue.json");
        return queue.open(QIODevice::ReadOnly) && queue.readAll().contains("second.flv");
    };
    EXPECT_TRUE(WaitFor(queued, 10s)) << "the handed file is not in the running program's queue";
    EXPECT_FALSE(first.waitForFinished(300)) << "the running program ended";
    first.terminate();
    if (!first.waitForFinished(5000)) first.kill();
    first.waitForFinished();
}

}  // namespace
