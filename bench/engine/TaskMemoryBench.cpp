// Memory of the engine component, each scenario in a child process of its own:
//   - the peak resident memory of four conversions on two threads against one conversion
//     (ComponentBenchSupport.h), the component's defaults otherwise: target ratio at most 2.1
//     (counter four_over_one);
//   - what a task costs once added and not started: target at most 2 MiB each (counter
//     MiB_per_task, from 100 tasks), beside what the libraries alone take to open one input and
//     look into its streams (counter MiB_per_input).
#include "bench/engine/ComponentBenchSupport.h"

#include "engine/frame/LibPtr.h"

#include <vector>

namespace {

using namespace kestrova;
using namespace kestrova::bench;

double PeakMiBNow() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_PeakMemoryFourTasksOverOne(benchmark::State& state) {
    PrepareEngine();
    const std::string folder = ScratchDir("task-memory");
    TChildResult one, four;
    for (auto _ : state) {
        one = RunInChild([&] { return RunConversions(1, 2, true, folder); });
        four = RunInChild([&] { return RunConversions(4, 2, true, folder); });
    }
    state.counters["one_task_MiB"] = one.PeakMiB;
    state.counters["four_tasks_MiB"] = four.PeakMiB;
    state.counters["four_over_one"] = four.PeakMiB / one.PeakMiB;
}

void BM_MemoryPerTaskNotStarted(benchmark::State& state) {
    PrepareEngine();
    constexpr int kTasks = 100;
    TChildResult result;
    for (auto _ : state) {
        result = RunInChild([] {
            TFFmpegEngine engine;
            // A first task brings in what every later one shares (demuxers, decoders' tables).
            Check(engine.AddTask(SourceClip()) == 0, engine.LastErrMsg());
            engine.ClearTasks();
            const double before = PeakMiBNow();
            for (int task = 0; task < kTasks; ++task)
                Check(engine.AddTask(SourceClip()) == task, engine.LastErrMsg());
            return (PeakMiBNow() - before) / kTasks;
        });
    }
    state.counters["MiB_per_task"] = result.Value;
    state.counters["peak_MiB"] = result.PeakMiB;
}

// The libraries' own share of a queued task: one input opened and its streams looked into, as
// AddTask does, without the engine around it.
void BM_MemoryPerOpenedInput(benchmark::State& state) {
    PrepareEngine();
    constexpr int kInputs = 100;
    TChildResult result;
    for (auto _ : state) {
        result = RunInChild([] {
            std::vector<InputFormatPtr> inputs;
            const auto open = [&inputs] {
                AVFormatContext* raw = nullptr;
                Check(ff::avformat_open_input(&raw, SourceClip().c_str(), nullptr, nullptr) >= 0,
                      "open input");
                inputs.emplace_back(raw);
                Check(ff::avformat_find_stream_info(raw, nullptr) >= 0, "stream info");
            };
            open();
            inputs.clear();
            const double before = PeakMiBNow();
            for (int input = 0; input < kInputs; ++input) open();
            return (PeakMiBNow() - before) / kInputs;
        });
    }
    state.counters["MiB_per_input"] = result.Value;
}

BENCHMARK(BM_PeakMemoryFourTasksOverOne)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_MemoryPerTaskNotStarted)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_MemoryPerOpenedInput)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
