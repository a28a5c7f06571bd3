// The real program under a virtual X server: it starts, shows its window centred on a
// 1024 x 768 screen, and the screen is grabbed into main-window-xvfb.png in the suite's
// scratch folder.
#include "tests/e2e/VirtualScreen.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>

namespace {

using namespace std::chrono_literals;
using namespace kestrova::e2e;

int Field(const QString& text, const QString& name) {
    const QRegularExpression pattern(name + QStringLiteral(":\\s*(-?\\d+)"));
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

TEST(MainWindowXvfbTest, TheProgramShowsItsWindowCentredAndIsGrabbed) {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
        GTEST_SKIP() << "Xvfb or xwininfo is not installed";
    TVirtualScreen screen;
    ASSERT_FALSE(screen.Display().isEmpty()) << "no virtual X server could be started";
    const QString scratch = QStringLiteral(KESTROVA_E2E_SCRATCH_DIR);
    QDir().mkpath(scratch);
    const QString marker = scratch + QStringLiteral("/shown");
    QFile::remove(marker);

    QProcess program;
    QProcessEnvironment environment = screen.Environment();
    environment.insert(QStringLiteral("KESTROVA_SHOWN_MARKER"), marker);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KESTROVA_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(marker) || program.waitForFinished(0); }, 15s));
    ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();

    const QString info = RunTool(QStringLiteral("xwininfo"),
                                 {QStringLiteral("-display"), screen.Display(), QStringLiteral("-name"),
                                  QStringLiteral("Orvanta Kestrova")},
                                 environment);
    EXPECT_EQ(Field(info, QStringLiteral("Absolute upper-left X")), 112) << info.toStdString();
    EXPECT_EQ(Field(info, QStringLiteral("Absolute upper-left Y")), 134);
    EXPECT_EQ(Field(info, QStringLiteral("Width")), 800);
    EXPECT_EQ(Field(info, QStringLiteral("Height")), 500);

    QThread::msleep(1300);  // the CPU meter's first tick
    const QString shot = scratch + QStringLiteral("/main-window-xvfb.png");
    QFile::remove(shot);
    RunTool(QStringLiteral(KESTROVA_SCREEN_GRAB), {shot}, environment);
    program.terminate();
    if (!program.waitForFinished(3000)) program.kill();

    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1024, 768));
    // The black screen around the window, and the skin's many colours inside it.
    EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::black));
    std::set<QRgb> colours;
    for (int y = 134; y < 634; y += 5)
        for (int x = 112; x < 912; x += 5) colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 200u);
}

}  // namespace
