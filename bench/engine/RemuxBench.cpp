// Remuxing a 60 s 640x360 H.264 + AAC clip into Matroska: the engine's job against the least a
// program must do for the same result (open, copy the stream parameters, read and write every
// packet), both over the same run-time bound libraries. Target: the engine takes at most 1.15
// times the minimal loop; BM_EngineOverMinimal reports that ratio, measured in one run with the
// two alternating so that both see the same machine state.
#include "BenchSupport.h"
#include "TestMedia.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/LibPtr.h"

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace kestrova;

const std::string& SourceClip() {
    static const std::string clip = [] {
        testmedia::ClipSpec spec;
        spec.format = "mp4";
        spec.duration = 60.0;
        spec.width = 640;
        spec.height = 360;
        return testmedia::Clip(spec);
    }();
    return clip;
}

void LoadLibraries() {
    static const bool loaded = [] {
        if (!LoadMediaLibraries()) throw std::runtime_error(TFFmpegLoader::Instance().LastError());
        TFFLogger::Instance().OnLog = nullptr;  // log lines are dropped, as in the minimal loop
        SourceClip();                           // made (once) before anything is timed
        return true;
    }();
    (void)loaded;
}

void Check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(what);
}

// The limit: every packet read and written as it is, timestamps moved to the output time base.
void MinimalRemux(const std::string& input, const std::string& output) {
    AVFormatContext* raw = nullptr;
    Check(ff::avformat_open_input(&raw, input.c_str(), nullptr, nullptr) >= 0, "open input");
    InputFormatPtr in(raw);
    Check(ff::avformat_find_stream_info(raw, nullptr) >= 0, "stream info");
    AVFormatContext* rawOut = nullptr;
    ff::avformat_alloc_output_context2(&rawOut, nullptr, nullptr, output.c_str());
    Check(rawOut != nullptr, "output context");
    FormatContextPtr out(rawOut);
    for (unsigned i = 0; i < in->nb_streams; ++i) {
        AVStream* stream = ff::avformat_new_stream(rawOut, nullptr);
        Check(stream && ff::avcodec_parameters_copy(stream->codecpar, in->streams[i]->codecpar) >= 0,
              "stream");
        stream->codecpar->codec_tag = 0;
        stream->time_base = in->streams[i]->time_base;
    }
    Check(ff::avio_open(&rawOut->pb, output.c_str(), AVIO_FLAG_WRITE) >= 0, "open output");
    Check(ff::avformat_write_header(rawOut, nullptr) >= 0, "header");
    PacketPtr packet(ff::av_packet_alloc());
    while (ff::av_read_frame(raw, packet.get()) >= 0) {
        const int index = packet->stream_index;
        ff::av_packet_rescale_ts(packet.get(), in->streams[index]->time_base,
                                 rawOut->streams[index]->time_base);
        packet->pos = -1;
        Check(ff::av_interleaved_write_frame(rawOut, packet.get()) >= 0, "write");
    }
    Check(ff::av_write_trailer(rawOut) >= 0, "trailer");
    ff::avio_closep(&rawOut->pb);
}

void EngineRemux(const std::string& input, const std::string& output) {
    TCustomFFmpeg job;
    Check(job.AddInputFile(input), "engine input");
    job.ApplyOption("vcodec", "copy");
    job.ApplyOption("acodec", "copy");
    Check(job.AddOutputFile(output, false) > 0, "engine output");
    job.StartConvert(false);
    Check(job.RunState().FinishedNormally, "engine run");
}

double Seconds(void (*remux)(const std::string&, const std::string&), const std::string& output) {
    const auto start = std::chrono::steady_clock::now();
    remux(SourceClip(), output);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_MinimalRemux(benchmark::State& state) {
    LoadLibraries();
    const std::string output = bench::ScratchDir("remux-minimal") + "/out.mkv";
    for (auto _ : state) MinimalRemux(SourceClip(), output);
    bench::ReportPeakMemory(state);
}

void BM_EngineRemux(benchmark::State& state) {
    LoadLibraries();
    const std::string output = bench::ScratchDir("remux-engine") + "/out.mkv";
    for (auto _ : state) EngineRemux(SourceClip(), output);
    bench::ReportPeakMemory(state);
}

// Both in turn, several times; the ratio of the totals.
void BM_EngineOverMinimal(benchmark::State& state) {
    LoadLibraries();
    const std::string folder = bench::ScratchDir("remux-ratio");
    double engine = 0, minimal = 0;
    for (auto _ : state) {
        minimal += Seconds(MinimalRemux, folder + "/minimal.mkv");
        engine += Seconds(EngineRemux, folder + "/engine.mkv");
    }
    state.counters["engine_over_minimal"] = engine / minimal;
    state.counters["engine_ms"] = engine * 1000 / static_cast<double>(state.iterations());
    state.counters["minimal_ms"] = minimal * 1000 / static_cast<double>(state.iterations());
}

// What a job costs before it does any work: its option contexts made and freed again.
void BM_JobCreation(benchmark::State& state) {
    LoadLibraries();
    for (auto _ : state) {
        TCustomFFmpeg job;
        benchmark::DoNotOptimize(&job);
    }
}

BENCHMARK(BM_JobCreation)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MinimalRemux)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineRemux)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineOverMinimal)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
