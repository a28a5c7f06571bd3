#include "engine/frame/ThreadPriority.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kestrova {

namespace {

constexpr int kHighestNice = -20;
constexpr int kLowestNice = 19;

// The calling thread's nice value (on Linux each thread has its own); 0 when it cannot be read.
int OwnNice() {
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, 0);
    return nice == -1 && errno != 0 ? 0 : nice;
}

}  // namespace

int ProcessStartNice() {
    static const int nice = OwnNice();
    return nice;
}

namespace {
// Read while the program starts, on its first thread and before any worker exists.
[[maybe_unused]] const int kNiceAtStart = ProcessStartNice();
}  // namespace

int NiceValueOf(TThreadPriority priority, int processNice) {
    int offset = 0;
    switch (priority) {
        case tpIdle:
        case tpLowest:
            return kLowestNice;
        case tpLower:
            offset = 10;
            break;
        case tpNormal:
            break;
        case tpHigher:
            offset = -5;
            break;
        case tpHighest:
            offset = -10;
            break;
        case tpTimeCritical:
            offset = -20;
            break;
    }
    return std::clamp(processNice + offset, kHighestNice, kLowestNice);
}

pid_t CurrentKernelThreadId() {
    return static_cast<pid_t>(::syscall(SYS_gettid));
}

bool ApplyThreadPriority(pid_t thread, TThreadPriority priority) {
    // On Linux the scheduling class and the nice value belong to the thread named by its id.
    const sched_param noRealTime{};
    const int policy = priority == tpIdle ? SCHED_IDLE : SCHED_OTHER;
    if (::sched_getscheduler(thread) != policy && ::sched_setscheduler(thread, policy, &noRealTime) != 0)
        return false;
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(thread),
                         NiceValueOf(priority, ProcessStartNice())) == 0;
}

}  // namespace kestrova
