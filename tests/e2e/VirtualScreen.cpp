#include "tests/e2e/VirtualScreen.h"

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
    // The server takes the first free display itself and says which: suites that start servers
    // at the same time never share one.
    FServer.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-br"),
                   QStringLiteral("-noreset"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!FServer.waitForStarted(5000)) return;
    QByteArray number;
    WaitFor(
            [&] {
                FServer.waitForReadyRead(20);
                number += FServer.readAllStandardOutput();
                return number.endsWith('\n') || FServer.state() != QProcess::Running;
            },
            10s);
    if (number.endsWith('\n') && FServer.state() == QProcess::Running)
        FDisplay = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    else
        Stop();
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
