#pragma once
// The small threads a job runs on: the worker that converts, the thread that waits for a
// stopping worker, and the thread that gives the terminate notice of a job that never started.
// Each is owned by its job and joined before the job goes, so none outlives what it refers to;
// "finished" tells that its body has ended and the thread may be joined without blocking.
#include "engine/frame/SuspendGate.h"
#include "engine/frame/ThreadPriority.h"

#include <sys/types.h>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace kestrova {

// Runs one body on its own thread and records when it has ended.
class TTaskThread {
public:
    explicit TTaskThread(std::function<void()> body);
    ~TTaskThread();  // waits for the body as WaitFor does
    TTaskThread(const TTaskThread&) = delete;
    TTaskThread& operator=(const TTaskThread&) = delete;

    bool Finished() const { return FFinished->load(); }
    bool IsCallingThread() const { return FThread.get_id() == std::this_thread::get_id(); }
    // Waits until the body has ended and joins the thread. On the main thread the calls that
    // workers hand to it keep running meanwhile. Called on the thread itself: returns at once.
    void WaitFor();

private:
    std::shared_ptr<std::atomic<bool>> FFinished;
    std::thread FThread;  // last: started once everything above exists
};

// The worker of a threaded run. It is created suspended: its body starts with the first
// Resume. Suspend parks it at its next gate (the body calls PassGate at every packet and
// every event); Resume lets it go on.
class TConvertThread {
public:
    TConvertThread(std::function<void()> body, TThreadPriority priority);
    ~TConvertThread();  // resumes the worker and joins it
    TConvertThread(const TConvertThread&) = delete;
    TConvertThread& operator=(const TConvertThread&) = delete;

    void Suspend() { FGate.Close(); }
    void Resume() { FGate.Open(); }
    bool Suspended() const { return FGate.IsClosed(); }
    // Called by the body, on the worker.
    void PassGate() { FGate.Pass(); }

    TThreadPriority Priority() const { return FPriority.load(); }
    // Takes effect at once when the worker has started, else when it starts.
    void SetPriority(TThreadPriority priority);

    bool Finished() const { return FTask.Finished(); }
    bool IsCallingThread() const { return FTask.IsCallingThread(); }
    void WaitFor() { FTask.WaitFor(); }

private:
    void Run(const std::function<void()>& body);

    TSuspendGate FGate{true};
    std::atomic<TThreadPriority> FPriority;
    std::atomic<pid_t> FKernelId{0};
    TTaskThread FTask;  // last
};

// Waits, polling every 10 ms, until the worker it watches is gone. Polling a flag instead of
// waiting on the worker lets the worker end (and its job move on) without anyone holding it.
class TWaitThread {
public:
    explicit TWaitThread(std::function<bool()> workerLive);
    bool Finished() const { return FTask.Finished(); }
    void WaitFor() { FTask.WaitFor(); }

private:
    TTaskThread FTask;
};

// Gives the terminate notice of a job from a thread of its own, as a run would from its worker.
class TDoTerminateThread {
public:
    explicit TDoTerminateThread(std::function<void()> notice) : FTask(std::move(notice)) {}
    bool Finished() const { return FTask.Finished(); }
    void WaitFor() { FTask.WaitFor(); }

private:
    TTaskThread FTask;
};

}  // namespace kestrova
