#pragma once
// Shared by the engine component's benchmarks: the clip they convert (60 s of 640x360 FLV with
// FLV1 video and MP3 sound, made once by the generator), the conversion they ask for (MP4 with
// libx264 at 1000 kbit/s in its default preset and AAC at 128 kbit/s), runs of the component,
// and scenarios measured in a child process of their own, so that each has its own peak memory.
#include "bench/harness/BenchSupport.h"
#include "tests/support/TestMedia.h"

#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/MainThread.h"
#include "engine/front/FFmpegEngine.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

namespace kestrova::bench {

inline constexpr int kVideoBitRate = 1000000;
inline constexpr int kAudioBitRate = 128000;

inline const std::string& SourceClip() {
    static const std::string clip = [] {
        testmedia::ClipSpec spec;
        spec.format = "flv";
        spec.duration = 60.0;
        spec.width = 640;
        spec.height = 360;
        return testmedia::Clip(spec);
    }();
    return clip;
}

// The libraries loaded, log lines dropped (as a program without a log would), the clip made:
// nothing of this is timed.
inline void PrepareEngine() {
    static const bool prepared = [] {
        if (!LoadMediaLibraries()) throw std::runtime_error(TFFmpegLoader::Instance().LastError());
        TFFLogger::Instance().OnLog = nullptr;
        MainThread::SetCurrentAsMain();
        SourceClip();
        return true;
    }();
    (void)prepared;
}

inline void Check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what);
}

inline void AddConversion(TFFmpegEngine& engine, const std::string& output) {
    const int index = engine.AddTask(SourceClip());
    Check(index >= 0, "AddTask: " + engine.LastErrMsg());
    TOutputOptions record;
    record.VideoCodec = "libx264";
    record.VideoBitrate = kVideoBitRate;
    record.AudioCodec = "aac";
    record.AudioBitrate = kAudioBitRate;
    Check(engine.SetOutputFile(index, output, &record), "SetOutputFile: " + engine.LastErrMsg());
}

// Processor seconds this process has used so far, all its threads together.
inline double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// What one run took: wall-clock seconds and processor seconds of all its threads.
struct TRunTimes {
    double Wall = 0;
    double Cpu = 0;
    TRunTimes& operator+=(const TRunTimes& other) {
        Wall += other.Wall;
        Cpu += other.Cpu;
        return *this;
    }
};

// Converts the clip `tasks` times into `folder` on `threadCount` threads (0: in this thread);
// the times from the first AddTask to the final notice. Throws when a task did not finish.
inline TRunTimes TimeConversions(int tasks, int threadCount, bool autoCodecThreads,
                                 const std::string& folder) {
    TFFmpegEngine engine;
    engine.SetAutoCodecThreads(autoCodecThreads);
    std::atomic<bool> allDone{false};
    std::atomic<int> failed{0};
    engine.OnTerminate = [&](TCustomFFmpegEngine&, const TTerminateInfo& info) {
        if (info.TaskIndex < 0)
            allDone = true;
        else if (!info.Finished)
            ++failed;
    };
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = ProcessCpuSeconds();
    for (int task = 0; task < tasks; ++task)
        AddConversion(engine, folder + "/out" + std::to_string(task) + ".mp4");
    engine.StartTask(threadCount);
    MainThread::WaitUntil([&] { return allDone.load(); });
    TRunTimes times;
    times.Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    times.Cpu = ProcessCpuSeconds() - startCpu;
    Check(failed == 0, "a conversion did not finish");
    return times;
}

inline double RunConversions(int tasks, int threadCount, bool autoCodecThreads, const std::string& folder) {
    return TimeConversions(tasks, threadCount, autoCodecThreads, folder).Wall;
}

struct TChildResult {
    double PeakMiB = 0;  // the child's peak resident memory
    double Value = 0;    // what the scenario returned
};

// Runs the scenario in a child process (forked while this process runs no other thread) and
// returns the child's peak resident memory and the scenario's result.
inline TChildResult RunInChild(const std::function<double()>& scenario) {
    int fds[2];
    Check(::pipe(fds) == 0, "pipe");
    const pid_t child = ::fork();
    Check(child >= 0, "fork");
    if (child == 0) {
        ::close(fds[0]);
        double value = -1;
        try {
            value = scenario();
        } catch (const std::exception&) {}
        const ssize_t written = ::write(fds[1], &value, sizeof value);
        ::_exit(written == sizeof value && value >= 0 ? 0 : 1);
    }
    ::close(fds[1]);
    TChildResult result;
    const ssize_t got = ::read(fds[0], &result.Value, sizeof result.Value);
    ::close(fds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    Check(got == sizeof result.Value && WIFEXITED(status) && WEXITSTATUS(status) == 0,
          "the child scenario failed");
    result.PeakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return result;
}

}  // namespace kestrova::bench
