#include "app/main/MainThreadPump.h"

#include "engine/frame/MainThread.h"

#include <QCoreApplication>
#include <QEvent>

namespace kestrova {

namespace {

const QEvent::Type kRunQueued = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

TMainThreadPump::TMainThreadPump(QObject* parent) : QObject(parent) {
    MainThread::SetCurrentAsMain();
    // postEvent is thread-safe; the receiver lives on the main thread.
    MainThread::SetNotifier([this] { QCoreApplication::postEvent(this, new QEvent(kRunQueued)); });
}

TMainThreadPump::~TMainThreadPump() {
    MainThread::SetNotifier(nullptr);
    MainThread::ProcessQueued();
}

void TMainThreadPump::customEvent(QEvent* event) {
    if (event->type() == kRunQueued) MainThread::ProcessQueued();
}

}  // namespace kestrova
