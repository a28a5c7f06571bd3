#pragma once
// Helpers of the run tests: generated clips, a scratch folder per test, running a job with its
// terminate notices counted, and a probe that opens a result with the libraries and reads every
// packet of it.
#include "engine/frame/LibBindings.h"
#include "engine/frame/LibPtr.h"
#include "tests/engine/core/JobTestSupport.h"
#include "tests/support/TestMedia.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace kestrova::testing {

// A generated clip, small unless asked otherwise.
inline std::string RunClip(const std::string& format, double duration, bool video = true, bool audio = true) {
    testmedia::ClipSpec spec;
    spec.format = format;
    spec.duration = duration;
    spec.width = 160;
    spec.height = 120;
    spec.video = video;
    spec.audio = audio;
    return testmedia::Clip(spec);
}

// A fresh scratch folder named after the running test.
inline std::string TestFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return testmedia::TempDir(std::string("loop_") + test->test_suite_name() + "_" + test->name());
}

inline std::uintmax_t FileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

struct TProbedStream {
    AVMediaType Kind = AVMEDIA_TYPE_UNKNOWN;
    AVCodecID Codec = AV_CODEC_ID_NONE;
    AVRational TimeBase{0, 1};
    int Packets = 0;
    int KeyPackets = 0;
    bool FirstPacketKey = false;
    bool DtsIncreasing = true;          // every decoding time after the first is above the one before
    int64_t FirstPts = AV_NOPTS_VALUE;  // smallest presentation time
    int64_t EndPts = AV_NOPTS_VALUE;    // largest presentation time + duration

    // Seconds covered by the packets' presentation times.
    double Duration() const {
        if (FirstPts == AV_NOPTS_VALUE || EndPts == AV_NOPTS_VALUE) return 0;
        return static_cast<double>(EndPts - FirstPts) * TimeBase.num / TimeBase.den;
    }
    double PacketSeconds(int64_t duration) const {
        return static_cast<double>(duration) * TimeBase.num / TimeBase.den;
    }
};

struct TProbedFile {
    bool Opened = false;
    double Duration = 0;  // the container's, seconds
    std::vector<TProbedStream> Streams;

    const TProbedStream* First(AVMediaType kind) const {
        for (const TProbedStream& stream : Streams)
            if (stream.Kind == kind) return &stream;
        return nullptr;
    }
};

// Opens the file with the libraries and reads all its packets.
inline TProbedFile ProbeFile(const std::string& path) {
    TProbedFile probe;
    AVFormatContext* raw = nullptr;
    if (ff::avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return probe;
    InputFormatPtr input(raw);
    if (ff::avformat_find_stream_info(raw, nullptr) < 0) return probe;
    probe.Opened = true;
    probe.Duration = raw->duration == AV_NOPTS_VALUE ? 0 : static_cast<double>(raw->duration) / 1000000;
    std::vector<int64_t> lastDts(raw->nb_streams, AV_NOPTS_VALUE);
    for (unsigned i = 0; i < raw->nb_streams; ++i) {
        TProbedStream stream;
        stream.Kind = raw->streams[i]->codecpar->codec_type;
        stream.Codec = raw->streams[i]->codecpar->codec_id;
        stream.TimeBase = raw->streams[i]->time_base;
        probe.Streams.push_back(stream);
    }
    PacketPtr packet(ff::av_packet_alloc());
    while (ff::av_read_frame(raw, packet.get()) >= 0) {
        TProbedStream& stream = probe.Streams[packet->stream_index];
        if (stream.Packets == 0) stream.FirstPacketKey = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        ++stream.Packets;
        if (packet->flags & AV_PKT_FLAG_KEY) ++stream.KeyPackets;
        int64_t& last = lastDts[packet->stream_index];
        if (packet->dts != AV_NOPTS_VALUE) {
            if (last != AV_NOPTS_VALUE && packet->dts <= last) stream.DtsIncreasing = false;
            last = packet->dts;
        }
        const int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (pts != AV_NOPTS_VALUE) {
            if (stream.FirstPts == AV_NOPTS_VALUE || pts < stream.FirstPts) stream.FirstPts = pts;
            const int64_t end = pts + std::max<int64_t>(packet->duration, 0);
            if (stream.EndPts == AV_NOPTS_VALUE || end > stream.EndPts) stream.EndPts = end;
        }
        ff::av_packet_unref(packet.get());
    }
    return probe;
}

// A job test that counts the terminate notices of its job.
class RunTest : public JobTest {
protected:
    void SetUp() override {
        JobTest::SetUp();
        job.OnTerminate = [this](TCustomFFmpeg&) { ++Notices; };
    }

    // Adds the input, applies the output options and adds the output; fails the test when the
    // job refuses any of it.
    void Prepare(const std::string& input, const std::vector<std::pair<std::string, std::string>>& options,
                 const std::string& output, bool join = false) {
        ASSERT_TRUE(job.AddInputFile(input)) << job.LastError();
        for (const auto& [name, value] : options) job.ApplyOption(name, value);
        ASSERT_GT(job.AddOutputFile(output, join), 0) << job.LastError();
    }

    // Runs the job in this thread; true when it finished normally.
    bool Run() {
        job.StartConvert(false);
        return job.RunState().FinishedNormally;
    }

    std::atomic<int> Notices{0};
};

}  // namespace kestrova::testing
