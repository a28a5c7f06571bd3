// Runs of the engine component over the 60 s clip (ComponentBenchSupport.h), on this machine's
// processor cores:
//   - four conversions on two threads against the same on one thread, automatic codec threads
//     off: target speed-up at least 1.85 (counter speed_up);
//   - one conversion with automatic codec threads against one codec thread: target speed-up at
//     least 1.6 (counter speed_up).
// Each iteration runs both variants in turn, so that both see the same machine state. The
// processor seconds of each variant (counters *_cpu_s) tell whether the faster one did the same
// work: on a machine whose cores are partly taken by other programs the wall-clock speed-up
// falls, while the work stays the same.
#include "bench/engine/ComponentBenchSupport.h"

namespace {

using namespace kestrova;
using namespace kestrova::bench;

void BM_FourTasksOnTwoThreadsOverOne(benchmark::State& state) {
    PrepareEngine();
    const std::string folder = ScratchDir("four-tasks");
    TRunTimes oneThread, twoThreads;
    for (auto _ : state) {
        oneThread += TimeConversions(4, 1, false, folder);
        twoThreads += TimeConversions(4, 2, false, folder);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["one_thread_s"] = oneThread.Wall / iterations;
    state.counters["two_threads_s"] = twoThreads.Wall / iterations;
    state.counters["one_thread_cpu_s"] = oneThread.Cpu / iterations;
    state.counters["two_threads_cpu_s"] = twoThreads.Cpu / iterations;
    state.counters["speed_up"] = oneThread.Wall / twoThreads.Wall;
}

void BM_OneTaskAutoCodecThreadsOverOne(benchmark::State& state) {
    PrepareEngine();
    const std::string folder = ScratchDir("auto-codec-threads");
    TRunTimes single, automatic;
    for (auto _ : state) {
        single += TimeConversions(1, 1, false, folder);
        automatic += TimeConversions(1, 1, true, folder);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["one_codec_thread_s"] = single.Wall / iterations;
    state.counters["auto_codec_threads_s"] = automatic.Wall / iterations;
    state.counters["one_codec_thread_cpu_s"] = single.Cpu / iterations;
    state.counters["auto_codec_threads_cpu_s"] = automatic.Cpu / iterations;
    state.counters["speed_up"] = single.Wall / automatic.Wall;
}

BENCHMARK(BM_FourTasksOnTwoThreadsOverOne)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_OneTaskAutoCodecThreadsOverOne)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

}  // namespace
