#include "app/main/KestrovaApplication.h"

#include "shell/ErrorDisplay.h"

#include <exception>

namespace kestrova {

TKestrovaApplication::TKestrovaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TKestrovaApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return true;
}

}  // namespace kestrova
