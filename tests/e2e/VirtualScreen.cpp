#include "tests/e2e/VirtualScreen.h"

#include <QFile>
#include <QThread>

namespace kestrova::e2e {

using namespace std::chrono_literals;

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QThread::msleep(20);
    }
    return true;
}

TVirtualScreen::TVirtualScreen() {
    for (int number = 70; number < 130; ++number) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)) ||
            QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        FServer.start(QStringLiteral("Xvfb"),
                      {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"), QStringLiteral("0"),
                       QStringLiteral("1024x768x24"), QStringLiteral("-br"), QStringLiteral("-nolisten"),
                       QStringLiteral("tcp")});
        if (!FServer.waitForStarted(5000)) return;
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
        // A server that finds its display taken ends at once.
        if (WaitFor([&] { return QFile::exists(socket) || FServer.waitForFinished(0); }, 5s) &&
            FServer.state() == QProcess::Running) {
            FDisplay = QStringLiteral(":%1").arg(number);
            return;
        }
        Stop();
    }
}

TVirtualScreen::~TVirtualScreen() {
    Stop();
}

QProcessEnvironment TVirtualScreen::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), FDisplay);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return environment;
}

// Terminated, so that the server removes its lock file and socket.
void TVirtualScreen::Stop() {
    if (FServer.state() == QProcess::NotRunning) return;
    FServer.terminate();
    if (!FServer.waitForFinished(3000)) FServer.kill();
    FServer.waitForFinished();
}

QString RunTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

}  // namespace kestrova::e2e
