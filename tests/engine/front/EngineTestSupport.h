#pragma once
// Shared by the component tests: the libraries loaded once, a component per test with its
// terminate notices recorded, small generated clips, a scratch folder per test, and what a
// result file holds, read back through the libraries.
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/LibBindings.h"
#include "engine/frame/LibPtr.h"
#include "engine/frame/MainThread.h"
#include "engine/front/FFmpegEngine.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrova::testing {

// A generated clip of 160x120 (FLV: FLV1 video and MP3 sound).
inline std::string SmallClip(double seconds, const std::string& format = "flv") {
    testmedia::ClipSpec spec;
    spec.format = format;
    spec.duration = seconds;
    spec.width = 160;
    spec.height = 120;
    return testmedia::Clip(spec);
}

// A fresh scratch folder named after the running test.
inline std::string TestFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("front_") + test->test_suite_name() + "_" + test->name();
    for (char& c : name)
        if (c == '/') c = '_';
    return testmedia::TempDir(name);
}

// The "threads=" that x264 writes into its stream's settings; -1 when there is none.
inline int X264Threads(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t settings = bytes.find("x264 - core");
    const std::size_t threads = bytes.find(" threads=", settings);
    if (settings == std::string::npos || threads == std::string::npos) return -1;
    return std::atoi(bytes.c_str() + threads + 9);
}

// What a result file holds: per stream its kind, packet count and the time its packets cover.
struct TReadBackStream {
    AVMediaType Kind = AVMEDIA_TYPE_UNKNOWN;
    int Packets = 0;
    double Seconds = 0;
};
struct TReadBack {
    bool Opened = false;  // an MP4 opens only when its trailer was written
    std::vector<TReadBackStream> Streams;

    const TReadBackStream* First(AVMediaType kind) const {
        for (const TReadBackStream& stream : Streams)
            if (stream.Kind == kind) return &stream;
        return nullptr;
    }
};

inline TReadBack ReadBack(const std::string& path) {
    TReadBack result;
    AVFormatContext* raw = nullptr;
    if (ff::avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return result;
    InputFormatPtr input(raw);
    if (ff::avformat_find_stream_info(raw, nullptr) < 0) return result;
    result.Opened = true;
    std::vector<int64_t> first(raw->nb_streams, AV_NOPTS_VALUE), end(raw->nb_streams, AV_NOPTS_VALUE);
    for (unsigned i = 0; i < raw->nb_streams; ++i)
        result.Streams.push_back({raw->streams[i]->codecpar->codec_type});
    PacketPtr packet(ff::av_packet_alloc());
    while (ff::av_read_frame(raw, packet.get()) >= 0) {
        const auto index = static_cast<std::size_t>(packet->stream_index);
        ++result.Streams[index].Packets;
        if (packet->pts != AV_NOPTS_VALUE) {
            if (first[index] == AV_NOPTS_VALUE || packet->pts < first[index]) first[index] = packet->pts;
            const int64_t packetEnd = packet->pts + std::max<int64_t>(packet->duration, 0);
            if (end[index] == AV_NOPTS_VALUE || packetEnd > end[index]) end[index] = packetEnd;
        }
        ff::av_packet_unref(packet.get());
    }
    for (unsigned i = 0; i < raw->nb_streams; ++i)
        if (first[i] != AV_NOPTS_VALUE)
            result.Streams[i].Seconds =
                    static_cast<double>(end[i] - first[i]) * ::av_q2d(raw->streams[i]->time_base);
    return result;
}

// One terminate notice as the host saw it.
struct TNotice {
    TTerminateInfo Info;
    std::thread::id Thread;
};

// Aborts the test binary when what it watches has not ended in time: a deadlock then fails the
// run with a message instead of hanging it.
class TWatchdog {
public:
    explicit TWatchdog(std::chrono::seconds limit) : FLimit(limit), FThread([this] { Watch(); }) {}
    ~TWatchdog() {
        {
            std::lock_guard lock(FLock);
            FDone = true;
        }
        FChanged.notify_all();
        FThread.join();
    }
    // Starts watching the next step, named for the message.
    void Start(const ::testing::Message& step) {
        std::lock_guard lock(FLock);
        FStep = step.GetString();
        FDeadline = std::chrono::steady_clock::now() + FLimit;
    }

private:
    void Watch() {
        std::unique_lock lock(FLock);
        while (!FDone) {
            if (!FStep.empty() && std::chrono::steady_clock::now() > FDeadline) {
                std::fprintf(stderr, "watchdog: %s has not ended within %lld s\n", FStep.c_str(),
                             static_cast<long long>(FLimit.count()));
                std::fflush(stderr);
                std::abort();
            }
            FChanged.wait_for(lock, std::chrono::milliseconds(200));
        }
    }

    const std::chrono::seconds FLimit;
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FDone = false;
    std::string FStep;
    std::chrono::steady_clock::time_point FDeadline;
    std::thread FThread;  // last
};

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }

    void SetUp() override {
        MainThread::SetCurrentAsMain();
        TFFLogger& logger = TFFLogger::Instance();
        logger.TriggerEventInMainThread = false;
        logger.OnLog = [this](const void*, uint32_t, TLogLevel, const std::string& text) {
            std::lock_guard guard(FLock);
            FLogLines.push_back(text);
        };
        engine.OnTerminate = [this](TCustomFFmpegEngine&, const TTerminateInfo& info) {
            std::lock_guard guard(FLock);
            FNotices.push_back({info, std::this_thread::get_id()});
        };
    }

    void TearDown() override { TFFLogger::Instance().OnLog = nullptr; }

    void ForgetNotices() {
        std::lock_guard guard(FLock);
        FNotices.clear();
    }
    std::vector<TNotice> Notices() {
        std::lock_guard guard(FLock);
        return FNotices;
    }
    std::vector<int> NoticeIndexes() {
        std::vector<int> indexes;
        for (const TNotice& notice : Notices()) indexes.push_back(notice.Info.TaskIndex);
        return indexes;
    }
    bool Logged(const std::string& text) {
        std::lock_guard guard(FLock);
        for (const std::string& line : FLogLines)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    // Waits (running the calls workers hand to this thread) for the final notice; false when
    // it has not come within the time given: the test fails instead of hanging.
    bool WaitForFinalNotice(std::chrono::seconds limit = std::chrono::seconds(120)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        MainThread::WaitUntil(
                [&] { return HasFinalNotice() || std::chrono::steady_clock::now() > deadline; });
        return HasFinalNotice();
    }
    bool HasFinalNotice() {
        std::lock_guard guard(FLock);
        return !FNotices.empty() && FNotices.back().Info.TaskIndex == -1;
    }

    // A task reading `input` into `output` with the given option text.
    int AddConversion(const std::string& input, const std::string& output, const std::string& options) {
        const int index = engine.AddTask(input);
        EXPECT_GE(index, 0) << engine.LastErrMsg();
        TOutputOptions record;
        record.ExtOptions = options;
        EXPECT_TRUE(engine.SetOutputFile(index, output, &record)) << engine.LastErrMsg();
        return index;
    }

    TFFmpegEngine engine;

private:
    std::mutex FLock;
    std::vector<TNotice> FNotices;
    std::vector<std::string> FLogLines;
};

}  // namespace kestrova::testing
