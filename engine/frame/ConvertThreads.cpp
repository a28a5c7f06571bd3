#include "engine/frame/ConvertThreads.h"

#include "engine/frame/MainThread.h"

#include <chrono>
#include <memory>
#include <utility>

namespace kestrova {

namespace {
constexpr auto kWaitPollInterval = std::chrono::milliseconds(10);
}

TTaskThread::TTaskThread(std::function<void()> body)
    : FFinished(std::make_shared<std::atomic<bool>>(false)),
      FThread([finished = FFinished, body = std::move(body)] {
          // No exception leaves a thread: the bodies catch their own, this is the last guard.
          try {
              body();
          } catch (...) {}
          *finished = true;
      }) {}

TTaskThread::~TTaskThread() {
    if (!FThread.joinable()) return;
    // A body whose own end frees its owner cannot join itself: it is let go instead, and after
    // the body it touches nothing but the shared flag.
    if (IsCallingThread())
        FThread.detach();
    else
        WaitFor();
}

void TTaskThread::WaitFor() {
    if (IsCallingThread() || !FThread.joinable()) return;
    if (MainThread::IsMainThread()) MainThread::WaitUntil([this] { return Finished(); });
    FThread.join();
}

TConvertThread::TConvertThread(std::function<void()> body, TThreadPriority priority)
    : FPriority(priority), FTask([this, body = std::move(body)] { Run(body); }) {}

TConvertThread::~TConvertThread() {
    Resume();  // a parked or never-started worker could not be joined
}

void TConvertThread::Run(const std::function<void()>& body) {
    FKernelId = CurrentKernelThreadId();
    ApplyThreadPriority(FKernelId, FPriority);  // a refused priority leaves the worker as it is
    PassGate();                                 // created suspended: nothing runs before the first Resume
    body();
}

void TConvertThread::SetPriority(TThreadPriority priority) {
    FPriority = priority;
    if (const pid_t id = FKernelId.load(); id != 0 && !Finished()) ApplyThreadPriority(id, priority);
}

TWaitThread::TWaitThread(std::function<bool()> workerLive)
    : FTask([workerLive = std::move(workerLive)] {
          while (workerLive()) std::this_thread::sleep_for(kWaitPollInterval);
      }) {}

}  // namespace kestrova
