#include "engine/frame/ThreadPriority.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kestrova {

int NiceValueOf(TThreadPriority priority) {
    switch (priority) {
        case tpIdle:
        case tpLowest:
            return 19;
        case tpLower:
            return 10;
        case tpNormal:
            return 0;
        case tpHigher:
            return -5;
        case tpHighest:
            return -10;
        case tpTimeCritical:
            return -20;
    }
    return 0;
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
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), NiceValueOf(priority)) == 0;
}

}  // namespace kestrova
