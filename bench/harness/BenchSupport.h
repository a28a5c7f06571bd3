#pragma once
// Helpers shared by the benchmarks: scratch folders and memory figures.
#include <benchmark/benchmark.h>

#include <string>

namespace kestrova::bench {

// A fresh, empty folder <build>/bench-tmp/<name> for a benchmark's outputs.
std::string ScratchDir(const std::string& name);

// Peak resident memory of this process so far, in KiB.
long PeakResidentKiB();

// Adds the process's peak resident memory (MiB) to a benchmark's counters.
void ReportPeakMemory(benchmark::State& state);

}  // namespace kestrova::bench
