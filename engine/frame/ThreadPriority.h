#pragma once
// Worker thread priorities, from idle to time-critical, applied to one thread as its scheduling
// class and nice value: idle runs only when nothing else wants the CPU, lowest is nice 19,
// lower 10, normal 0. The priorities above normal need privileges; a refusal leaves the thread
// as it was.
#include <sys/types.h>

namespace kestrova {

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The nice value that stands for a priority (tpIdle: 19, with the idle scheduling class).
int NiceValueOf(TThreadPriority priority);

// The operating system's id of the calling thread, by which another thread can set its priority.
pid_t CurrentKernelThreadId();

// Applies the priority to the thread with that id; false when the system refused it.
bool ApplyThreadPriority(pid_t thread, TThreadPriority priority);

}  // namespace kestrova
