// The program's start as the user sees it, on a fresh process of build/bin/kestrova each time:
//  - BM_ExecToWindowShown: from exec to the main window drawn (settings, skin, windows, picker).
//    Target: at most 0.5 s.
//  - BM_IdleResidentMemory: the resident memory of the program idling with its window shown
//    (after a second, so that the CPU meter has ticked). Target: at most 60 MB.
// Without a display the program runs off screen; under xvfb-run it draws on a real X server.
#include "bench/app/LaunchedProgram.h"
#include "bench/harness/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <thread>

namespace {

using namespace kestrova::bench;

void BM_ExecToWindowShown(benchmark::State& state) {
    const std::string scratch = ScratchDir("exec-to-shown");
    for (auto _ : state) {
        TLaunchedProgram program(scratch);
        state.SetIterationTime(program.WaitUntilShown().count());
    }
}
BENCHMARK(BM_ExecToWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_IdleResidentMemory(benchmark::State& state) {
    const std::string scratch = ScratchDir("idle-memory");
    double mebibytes = 0;
    for (auto _ : state) {
        TLaunchedProgram program(scratch);
        program.WaitUntilShown();
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        mebibytes = static_cast<double>(program.ResidentKiB()) / 1024.0;
    }
    state.counters["idle_rss_MiB"] = mebibytes;
}
BENCHMARK(BM_IdleResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
