// How long the test-media generator takes for typical clips (run in this process).
#include "bench/harness/BenchSupport.h"
#include "tools/mediagen/FramePattern.h"
#include "tools/mediagen/Generator.h"

extern "C" {
#include <libavutil/log.h>
}

#include <vector>

namespace {

using kestrova::mediagen::TGeneratorOptions;

void GenerateClip(benchmark::State& state, const char* format) {
    av_log_set_level(AV_LOG_ERROR);
    TGeneratorOptions options;
    options.Format = format;
    options.Duration = 10.0;
    options.Width = 640;
    options.Height = 360;
    options.Output = kestrova::bench::ScratchDir(std::string("mediagen-") + format) + "/clip";
    for (auto _ : state) kestrova::mediagen::Generate(options);
    const double frames = options.Duration * options.Rate.Num / options.Rate.Den;
    state.counters["frames_per_s"] =
            benchmark::Counter(frames * state.iterations(), benchmark::Counter::kIsRate);
    kestrova::bench::ReportPeakMemory(state);
}

// 10 s of 640x360 at 25 fps with stereo sound.
void BM_Generate10sH264Mp4(benchmark::State& state) {
    GenerateClip(state, "mp4");
}
void BM_Generate10sFlv(benchmark::State& state) {
    GenerateClip(state, "flv");
}
BENCHMARK(BM_Generate10sH264Mp4)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Generate10sFlv)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_DrawPattern640x360(benchmark::State& state) {
    const int width = 640, height = 360;
    std::vector<uint8_t> y(width * height), u(width * height / 4), v(width * height / 4);
    int number = 0;
    for (auto _ : state) {
        kestrova::mediagen::DrawFramePattern(number++ & 0xFFFF, width, height, y.data(), width, u.data(),
                                             width / 2, v.data(), width / 2);
        benchmark::DoNotOptimize(y.data());
    }
}
BENCHMARK(BM_DrawPattern640x360);

}  // namespace
