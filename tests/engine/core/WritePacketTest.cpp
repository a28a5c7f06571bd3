// Writing packets: stream copy of a generated clip through the stream's bitstream filters into
// a real file, filter failures, and write failures.
#include "tests/engine/core/OutputTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestrova::testing {
namespace {

class WritePacketTest : public JobTest {
protected:
    // Copies the video of `clip` into `out` (video only) through the job's output, as the run
    // will: the stream takes the input's parameters, the header is written, every packet goes
    // through WritePacket. The number of packets handed over.
    int CopyVideo(const std::string& clip, const std::string& out, const std::string& format = "") {
        job.ApplyOption("vcodec", "copy");
        job.ApplyOption("an", "");
        if (!job.AddInputFile(clip)) throw std::runtime_error(job.LastError());
        if (!format.empty()) job.ApplyOption("f", format);
        if (job.AddOutputFile(out, false) != 1) throw std::runtime_error(job.LastError());
        AVFormatContext* input = job.Files().InputFiles[0].get();
        TOutputFile& file = *job.OutputFile(0);
        TOutputStream& stream = *file.Streams.at(0);
        const AVStream& source = *input->streams[0];
        ff::avcodec_parameters_copy(stream.Stream->codecpar, source.codecpar);
        stream.Stream->codecpar->codec_tag = 0;
        stream.Stream->time_base = source.time_base;
        EXPECT_GE(ff::avformat_write_header(file.Context.get(), nullptr), 0);

        PacketPtr packet(ff::av_packet_alloc());
        int count = 0;
        while (ff::av_read_frame(input, packet.get()) >= 0) {
            if (packet->stream_index == source.index) {
                ff::av_packet_rescale_ts(packet.get(), source.time_base, stream.Stream->time_base);
                ++count;
                job.WritePacket(file, stream, packet.get());
            }
            ff::av_packet_unref(packet.get());
        }
        job.FlushBitstreamFilters(file, stream);
        EXPECT_EQ(ff::av_write_trailer(file.Context.get()), 0);
        return count;
    }

    struct TReadBack {
        int Packets = 0;
        std::vector<uint8_t> FirstBytes;
    };

    static TReadBack ReadBack(const std::string& path) {
        TReadBack result;
        AVFormatContext* raw = nullptr;
        if (ff::avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return result;
        InputFormatPtr input(raw);
        PacketPtr packet(ff::av_packet_alloc());
        while (ff::av_read_frame(input.get(), packet.get()) >= 0) {
            if (result.Packets++ == 0)
                result.FirstBytes.assign(packet->data, packet->data + std::min(packet->size, 4));
            ff::av_packet_unref(packet.get());
        }
        return result;
    }
};

TEST_F(WritePacketTest, PacketsPassThroughTheStreamsFiltersIntoTheFile) {
    job.ApplyOption("vbsf", "h264_mp4toannexb");
    const std::string out = ScratchPath("write-packet-annexb", "annexb.nut");
    const int written = CopyVideo(SmallClip("mp4", 1.0, true, false), out);
    job.ReleaseJob();
    const TReadBack back = ReadBack(out);
    EXPECT_GT(written, 0);
    EXPECT_EQ(back.Packets, written);
    EXPECT_EQ(back.FirstBytes, (std::vector<uint8_t>{0, 0, 0, 1})) << "start codes instead of lengths";
}

TEST_F(WritePacketTest, WithoutFiltersPacketsAreWrittenAsTheyCome) {
    const std::string out = ScratchPath("write-packet-plain", "plain.nut");
    const int written = CopyVideo(SmallClip("mp4", 1.0, true, false), out);
    job.ReleaseJob();
    const TReadBack back = ReadBack(out);
    EXPECT_EQ(back.Packets, written);
    EXPECT_NE(back.FirstBytes, (std::vector<uint8_t>{0, 0, 0, 1}));
}

TEST_F(WritePacketTest, AFilterThatCannotTakeTheStreamIsLoggedAndPassesPacketsOn) {
    job.ApplyOption("vbsf", "h264_mp4toannexb");
    const std::string out = ScratchPath("write-packet-mismatch", "mpeg4.nut");
    const int written = CopyVideo(SmallClip("mp4-mpeg4", 1.0, true, false), out);
    job.ReleaseJob();
    EXPECT_EQ(ReadBack(out).Packets, written);
    bool logged = false;
    for (const TCapturedLine& line : Lines())
        logged = logged || (line.Level == llError &&
                            line.Text.rfind("h264_mp4toannexb failed for stream 0, codec copy: ", 0) == 0);
    EXPECT_TRUE(logged);
}

TEST_F(WritePacketTest, AFilterFailureEndsTheRunWhenErrorsAreFatal) {
    job.ApplyOption("xerror", "");
    job.ApplyOption("vbsf", "h264_mp4toannexb");
    const std::string out = ScratchPath("write-packet-xerror", "mpeg4.nut");
    const std::string error = ErrorOf([&] { CopyVideo(SmallClip("mp4-mpeg4", 1.0, true, false), out); });
    EXPECT_EQ(error.rfind("h264_mp4toannexb failed for stream 0, codec copy: ", 0), 0u) << error;
}

TEST_F(WritePacketTest, AWriteFailureRaises) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    job.ApplyOption("flush_packets", "1");  // every packet reaches the device at once
    const std::string error =
            ErrorOf([&] { CopyVideo(SmallClip("mp4", 2.0, true, false), "/dev/full", "nut"); });
    EXPECT_EQ(error.rfind("av_interleaved_write_frame(): ", 0), 0u) << error;
    job.ReleaseJob();
    EXPECT_TRUE(std::filesystem::exists("/dev/full")) << "only empty regular files are removed";
}

}  // namespace
}  // namespace kestrova::testing
