// Runs of the engine component over the 60 s clip (ComponentBenchSupport.h), on this machine's
// processor cores:
//   - four conversions on two threads against the same on one thread, automatic codec threads
//     off: target speed-up at least 1.85 (counter speed_up);
//   - one conversion with automatic codec threads against one codec thread: target speed-up at
//     least 1.6 (counter speed_up).
// Each iteration runs both variants in turn, so that both see the same machine state.
#include "ComponentBenchSupport.h"

namespace {

using namespace kestrova;
using namespace kestrova::bench;

void BM_FourTasksOnTwoThreadsOverOne(benchmark::State& state) {
    PrepareEngine();
    const std::string folder = ScratchDir("four-tasks");
    double oneThread = 0, twoThreads = 0;
    for (auto _ : state) {
        oneThread += RunConversions(4, 1, false, folder);
        twoThreads += RunConversions(4, 2, false, folder);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["one_thread_s"] = oneThread / iterations;
    state.counters["two_threads_s"] = twoThreads / iterations;
    state.counters["speed_up"] = oneThread / twoThreads;
}

void BM_OneTaskAutoCodecThreadsOverOne(benchmark::State& state) {
    PrepareEngine();
    const std::string folder = ScratchDir("auto-codec-threads");
    double single = 0, automatic = 0;
    for (auto _ : state) {
        single += RunConversions(1, 1, false, folder);
        automatic += RunConversions(1, 1, true, folder);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["one_codec_thread_s"] = single / iterations;
    state.counters["auto_codec_threads_s"] = automatic / iterations;
    state.counters["speed_up"] = single / automatic;
}

BENCHMARK(BM_FourTasksOnTwoThreadsOverOne)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_OneTaskAutoCodecThreadsOverOne)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

}  // namespace
