#pragma once
// What the suites that run the real program under a virtual X server share: the server, waiting
// for a condition, and running a tool on the server's display.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace kestrova::e2e {

// Polls `done` every 20 ms; false when the time ran out first.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// A private X server on a display of its own.
class TVirtualScreen {
public:
    TVirtualScreen();
    ~TVirtualScreen();

    // Empty when no server could be started.
    const QString& Display() const { return FDisplay; }
    // The environment of a program shown on this screen.
    QProcessEnvironment Environment() const;

private:
    void Stop();

    QProcess FServer;
    QString FDisplay;
};

// Runs the program (10 s at most) and gives what it printed on its standard output.
QString RunTool(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment);

}  // namespace kestrova::e2e
