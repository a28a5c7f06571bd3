#include "bench/harness/BenchSupport.h"

#include <sys/resource.h>
#include <filesystem>

namespace kestrova::bench {

std::string ScratchDir(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(KESTROVA_BENCH_BUILD_DIR) / "bench-tmp" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // KiB on Linux
}

void ReportPeakMemory(benchmark::State& state) {
    state.counters["peak_rss_MiB"] = static_cast<double>(PeakResidentKiB()) / 1024.0;
}

}  // namespace kestrova::bench
