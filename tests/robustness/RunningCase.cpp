#include "tests/robustness/RunningCase.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <mutex>

#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define KESTROVA_SANITIZED 1
#endif

#ifdef KESTROVA_SANITIZED
// The undefined-behaviour checker has a runtime of its own, which does not call the death
// callback: it aborts instead (unless its options say otherwise), and the abort names the case.
extern "C" const char* __ubsan_default_options() {
    return "abort_on_error=1";
}
#endif

namespace kestrova::robustness {

namespace {

// Written by the test thread between runs, read by a dying process: a plain buffer that a
// signal handler may read without any call that is unsafe there.
char gRunningCase[1024];

void WriteText(const char* text) {
    const std::size_t length = std::strlen(text);
    if (write(STDERR_FILENO, text, length) < 0) return;
}

void ReportRunningCase() {
    if (gRunningCase[0] == '\0') return;
    WriteText("\nrobustness: the process died in case ");
    WriteText(gRunningCase);
    WriteText("\n");
}

void ReportAndRaise(int signal) {
    ReportRunningCase();
    // The handler was installed to run once: the signal now takes its default action.
    raise(signal);
}

void InstallSignalReport(int signal) {
    struct sigaction action {};
    action.sa_handler = ReportAndRaise;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

}  // namespace

void InstallRunningCaseReport() {
    static std::once_flag installed;
    std::call_once(installed, [] {
#ifdef KESTROVA_SANITIZED
        // The sanitizers handle the faults themselves and call this after their report.
        __sanitizer_set_death_callback(ReportRunningCase);
#else
        for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) InstallSignalReport(signal);
#endif
        // An abort (a failed check inside a library, std::terminate, the undefined-behaviour
        // checker) is no other handler's.
        InstallSignalReport(SIGABRT);
    });
}

TRunningCase::TRunningCase(const std::string& description) {
    const std::size_t length = std::min(description.size(), sizeof gRunningCase - 1);
    std::memcpy(gRunningCase, description.data(), length);
    gRunningCase[length] = '\0';
}

TRunningCase::~TRunningCase() {
    gRunningCase[0] = '\0';
}

}  // namespace kestrova::robustness
