#pragma once
// The engine's main-thread queue. A worker that must run something on the main thread (an
// event handler) enqueues the call and blocks until the main thread has run it. The main thread
// runs queued calls when notified (the Qt app posts an event from the notifier; the command-line
// front and tests pump ProcessQueued), and every wait of the main thread goes through WaitUntil,
// which keeps running them so that a worker blocked in RunSync can never deadlock it.
#include <chrono>
#include <functional>

namespace kestrova::MainThread {

// Called once by the host (app, command-line front, tests) on its main thread.
void SetCurrentAsMain();
bool IsMainThread();
// Whether a host has named its main thread. Without one, RunSync runs calls on the caller.
bool HasMainThread();

// On the main thread (or when there is none): runs the call now. Elsewhere: enqueues it,
// notifies, and blocks until the main thread has run it; an exception of the call is rethrown
// here, in the caller.
void RunSync(const std::function<void()>& call);

// Main thread: runs every queued call, including calls queued while it runs. Elsewhere: nothing.
void ProcessQueued();

// Called from the enqueuing thread after each enqueue (e.g. to post an event to the GUI loop).
void SetNotifier(std::function<void()> notify);

// Blocks until a call is queued or the timeout passes (returns at once when one is pending).
void WaitForQueued(std::chrono::milliseconds timeout);

// Main thread: waits for a condition while running queued calls. The condition is polled at
// least every few milliseconds, and at once after each queued call.
template <class Pred>
void WaitUntil(Pred done) {
    for (;;) {
        ProcessQueued();
        if (done()) return;
        WaitForQueued(std::chrono::milliseconds(5));
    }
}

// Takes a lock (anything with lock and try_lock) that a worker may hold while it waits for the
// main thread: the main thread runs the queued calls until the lock is free, other threads
// simply wait for it.
template <class TLockable>
void LockServingMainThread(TLockable& lock) {
    if (lock.try_lock()) return;
    if (IsMainThread())
        WaitUntil([&lock] { return lock.try_lock(); });
    else
        lock.lock();
}

}  // namespace kestrova::MainThread
