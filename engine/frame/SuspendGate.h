#pragma once
// A gate a worker thread passes at every packet and at every event it raises. Closing it pauses
// the worker at its next pass (the closing call returns at once); opening it lets the worker go
// on. Threads cannot be suspended safely from outside, so a worker parks itself here instead.
#include <condition_variable>
#include <mutex>

namespace kestrova {

class TSuspendGate {
public:
    explicit TSuspendGate(bool closed = false) : FClosed(closed) {}
    TSuspendGate(const TSuspendGate&) = delete;
    TSuspendGate& operator=(const TSuspendGate&) = delete;

    void Close();
    void Open();
    bool IsClosed() const;
    // Returns at once while the gate is open; blocks while it is closed.
    void Pass();

private:
    mutable std::mutex FLock;
    std::condition_variable FOpened;
    bool FClosed;
};

}  // namespace kestrova
