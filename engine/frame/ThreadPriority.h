#pragma once
// Worker thread priorities, from idle to time-critical, applied to one thread as its scheduling
// class and nice value, relative to the nice value the process was started with: normal is that
// value, lower 10 above it, higher 5 below, highest 10 below, time-critical 20 below; lowest is
// nice 19, idle too, with the idle scheduling class (it runs only when nothing else wants the
// CPU). Every value is kept within -20..19. A raise needs privileges; a refusal leaves the
// thread as it was.
#include <sys/types.h>

namespace kestrova {

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The nice value the process had when it started, read before anything could change it.
int ProcessStartNice();

// The nice value that stands for a priority in a process started at `processNice`.
int NiceValueOf(TThreadPriority priority, int processNice);

// The operating system's id of the calling thread, by which another thread can set its priority.
pid_t CurrentKernelThreadId();

// Applies the priority to the thread with that id; false when the system refused it.
bool ApplyThreadPriority(pid_t thread, TThreadPriority priority);

}  // namespace kestrova
