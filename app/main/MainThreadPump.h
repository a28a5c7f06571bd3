#pragma once
#include <QObject>

namespace kestrova {

// Runs the engine's main-thread calls in the window system's event loop: makes the calling
// thread the engine's main thread and, whenever a worker queues a call, posts one event that
// runs every queued call. Lives as long as the event loop.
class TMainThreadPump : public QObject {
    Q_OBJECT

public:
    explicit TMainThreadPump(QObject* parent = nullptr);
    ~TMainThreadPump() override;

protected:
    void customEvent(QEvent* event) override;
};

}  // namespace kestrova
