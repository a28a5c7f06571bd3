#include "engine/frame/MainThread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace kestrova::MainThread {

namespace {

// A call waiting for the main thread; it lives on the waiting worker's stack.
struct TQueuedCall {
    const std::function<void()>* Call;
    bool Done = false;
    std::exception_ptr Error;
};

struct TQueue {
    std::mutex Lock;
    std::condition_variable Queued;    // main thread waits for work
    std::condition_variable Finished;  // workers wait for their call
    std::deque<TQueuedCall*> Calls;
    std::function<void()> Notify;
    std::thread::id Main;
    bool HasMain = false;
};

TQueue& Queue() {
    static TQueue queue;
    return queue;
}

}  // namespace

void SetCurrentAsMain() {
    TQueue& q = Queue();
    std::lock_guard lock(q.Lock);
    q.Main = std::this_thread::get_id();
    q.HasMain = true;
}

bool IsMainThread() {
    TQueue& q = Queue();
    std::lock_guard lock(q.Lock);
    return q.HasMain && q.Main == std::this_thread::get_id();
}

bool HasMainThread() {
    TQueue& q = Queue();
    std::lock_guard lock(q.Lock);
    return q.HasMain;
}

void SetNotifier(std::function<void()> notify) {
    TQueue& q = Queue();
    std::lock_guard lock(q.Lock);
    q.Notify = std::move(notify);
}

void RunSync(const std::function<void()>& call) {
    TQueue& q = Queue();
    TQueuedCall item{&call, false, nullptr};
    std::function<void()> notify;
    {
        std::lock_guard lock(q.Lock);
        if (!q.HasMain || q.Main == std::this_thread::get_id()) {
            // Nobody to hand it to, or we are the main thread: run it here.
            item.Call = nullptr;
        } else {
            q.Calls.push_back(&item);
            notify = q.Notify;
        }
    }
    if (!item.Call) {
        call();
        return;
    }
    q.Queued.notify_all();
    if (notify) notify();
    std::unique_lock lock(q.Lock);
    q.Finished.wait(lock, [&] { return item.Done; });
    if (item.Error) std::rethrow_exception(item.Error);
}

void ProcessQueued() {
    TQueue& q = Queue();
    std::unique_lock lock(q.Lock);
    if (!q.HasMain || q.Main != std::this_thread::get_id()) return;
    while (!q.Calls.empty()) {
        TQueuedCall* item = q.Calls.front();
        q.Calls.pop_front();
        lock.unlock();
        std::exception_ptr error;
        try {
            (*item->Call)();
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        item->Error = error;
        item->Done = true;
        q.Finished.notify_all();
    }
}

void WaitForQueued(std::chrono::milliseconds timeout) {
    TQueue& q = Queue();
    std::unique_lock lock(q.Lock);
    q.Queued.wait_for(lock, timeout, [&] { return !q.Calls.empty(); });
}

}  // namespace kestrova::MainThread
