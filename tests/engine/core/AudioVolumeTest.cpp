// The "vol" setting on decoded samples: the 16-bit rounding rule, clipping, and a re-encoded
// file whose samples come out scaled.
#include "tests/engine/core/TranscodeTestSupport.h"

#include "engine/core/audio/AudioVolume.h"

#include <algorithm>
#include <cstring>

namespace kestrova::testing {
namespace {

TEST(AudioVolumeTest, SixteenBitSamplesRoundDownAndClip) {
    EXPECT_EQ(ScaledSample(1000, 256), 1000);
    EXPECT_EQ(ScaledSample(1000, 512), 2000);
    EXPECT_EQ(ScaledSample(3, 128), 2);    // (384 + 128) >> 8
    EXPECT_EQ(ScaledSample(-3, 128), -1);  // (-384 + 128) >> 8 rounds toward minus infinity
    EXPECT_EQ(ScaledSample(-1, 128), 0);
    EXPECT_EQ(ScaledSample(30000, 512), 32767);
    EXPECT_EQ(ScaledSample(-30000, 512), -32768);
}

// All samples of a PCM file's packets, interleaved 16-bit.
std::vector<int16_t> PcmSamples(const std::string& path) {
    std::vector<int16_t> samples;
    AVFormatContext* raw = nullptr;
    if (ff::avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return samples;
    InputFormatPtr input(raw);
    PacketPtr packet(ff::av_packet_alloc());
    while (ff::av_read_frame(raw, packet.get()) >= 0) {
        const std::size_t count = static_cast<std::size_t>(packet->size) / sizeof(int16_t);
        const std::size_t at = samples.size();
        samples.resize(at + count);
        std::memcpy(samples.data() + at, packet->data, count * sizeof(int16_t));
        ff::av_packet_unref(packet.get());
    }
    return samples;
}

TEST_F(RunTest, VolumeScalesTheReencodedSamples) {
    const std::string input = RunClip("wav", 1.0, false, true);
    const std::string output = TestFolder() + "/louder.wav";
    Prepare(input, {{"vol", "512"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const std::vector<int16_t> before = PcmSamples(input);
    const std::vector<int16_t> after = PcmSamples(output);
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        ASSERT_EQ(after[i], ScaledSample(before[i], 512)) << "sample " << i;
}

}  // namespace
}  // namespace kestrova::testing
