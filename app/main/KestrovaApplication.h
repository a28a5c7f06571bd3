#pragma once
#include <QApplication>

namespace kestrova {

// The program's application object. An exception that leaves an event handler is shown by
// the application-wide error display (with a warning for engine errors) and the program
// goes on, instead of unwinding through the window system's event loop.
class TKestrovaApplication : public QApplication {
    Q_OBJECT

public:
    TKestrovaApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace kestrova
