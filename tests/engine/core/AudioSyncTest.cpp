// Audio sync decisions made quietly: below the verbosity of its log lines, a correction costs no
// memory allocation (it runs once per decoded audio frame).
#include "engine/core/audio/AudioSync.h"
#include "engine/core/audio/SampleQueue.h"
#include "engine/core/outputs/OutputFiles.h"
#include "tests/engine/core/JobTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {
// Allocations made by this thread while counting is on.
thread_local bool gCounting = false;
thread_local long gAllocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (gCounting) ++gAllocations;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
// Out of line, so that the compiler does not pair the free with a new it can see.
[[gnu::noinline]] void ReleaseCounted(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory) noexcept {
    ReleaseCounted(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    ReleaseCounted(memory);
}

namespace kestrova::testing {
namespace {

// A 44100 Hz stereo 16-bit encoder; decoded stereo 32-bit float samples at 44100 Hz.
class AudioSyncTest : public JobTest {
protected:
    AudioSyncTest() {
        Stream.Codec.reset(ff::avcodec_alloc_context3(nullptr));
        Stream.Codec->sample_rate = Samples->sample_rate = 44100;
        Stream.Codec->sample_fmt = AV_SAMPLE_FMT_S16;
        Samples->format = AV_SAMPLE_FMT_FLTP;
        Samples->nb_samples = 1152;
        ff::av_channel_layout_default(&Stream.Codec->ch_layout, 2);
        ff::av_channel_layout_default(&Samples->ch_layout, 2);
        Ost.Output = &Stream;
    }
    // A converter from the samples to the encoder at `rate` Hz.
    ResamplerPtr Resampler(int rate) {
        SwrContext* made = nullptr;
        ff::swr_alloc_set_opts2(&made, &Stream.Codec->ch_layout, AV_SAMPLE_FMT_S16, rate, &Samples->ch_layout,
                                AV_SAMPLE_FMT_FLTP, 44100, 0, nullptr);
        ff::av_opt_set(made, "flags", "res", 0);
        EXPECT_GE(ff::swr_init(made), 0);
        return ResamplerPtr(made);
    }

    TOutputStream Stream;
    OutputStreamState Ost;
    InputStreamState Ist;
    FramePtr Samples{ff::av_frame_alloc()};
};

struct TSyncCase {
    const char* Name;
    bool AtStart;       // the input stream has not been corrected yet
    int64_t InputTime;  // microseconds; the output clock stands at 0
    bool Drops;
    int Silence;  // samples put in by this call
};

class QuietSyncTest : public AudioSyncTest, public ::testing::WithParamInterface<TSyncCase> {};

TEST_P(QuietSyncTest, QuietCorrectionsAllocateNothing) {
    const TSyncCase& sync = GetParam();
    Ist.IsStart = sync.AtStart;
    Ist.Pts = sync.InputTime;
    const ResamplerPtr resampler = Resampler(44100);
    const TAudioSyncSettings settings{2, 0.1, 0, 0, &job};
    gAllocations = 0;
    gCounting = true;
    const TAudioSyncStep step = SyncAudio(settings, Ost, Ist, *Samples, resampler.get());
    gCounting = false;
    EXPECT_EQ(gAllocations, 0);
    EXPECT_EQ(step.DropSamples > 0, sync.Drops);
    EXPECT_EQ(step.SilenceSamples, sync.Silence);
}

// A gap of two seconds is more than one call puts in: 131072 bytes of decoded samples, its own
// included (4-byte samples, two channels).
INSTANTIATE_TEST_SUITE_P(Cases, QuietSyncTest,
                         ::testing::Values(TSyncCase{"Stretch", false, 20000, false, 0},
                                           TSyncCase{"Drop", true, -20000, true, 0},
                                           TSyncCase{"InsertSilence", true, 20000, false, 882},
                                           TSyncCase{"InsertAtMost", true, 2000000, false,
                                                     131072 / 8 - 1152}),
                         [](const ::testing::TestParamInfo<TSyncCase>& info) { return info.param.Name; });

// The converter holds back the end of the first call's samples; silence put before the second
// call's samples comes out after them, so the first call's sound is whole before the gap.
TEST_F(AudioSyncTest, SilenceFollowsTheSamplesTheConverterHolds) {
    const ResamplerPtr resampler = Resampler(22050);
    Ost.Audio.Fifo.reset(ff::av_audio_fifo_alloc(AV_SAMPLE_FMT_S16, 2, 1));
    ASSERT_GE(ff::av_frame_get_buffer(Samples.get(), 0), 0);
    for (int channel : {0, 1}) std::fill_n(reinterpret_cast<float*>(Samples->data[channel]), 1152, 0.25f);
    ASSERT_TRUE(QueueDecodedSamples(Ost, resampler.get(), *Samples, 0, 0));
    ASSERT_TRUE(QueueDecodedSamples(Ost, resampler.get(), *Samples, 0, 2000));
    std::vector<int16_t> queued(2 * static_cast<size_t>(ff::av_audio_fifo_size(Ost.Audio.Fifo.get())));
    void* data = queued.data();
    ff::av_audio_fifo_read(Ost.Audio.Fifo.get(), &data, static_cast<int>(queued.size() / 2));
    size_t sound = 32;  // past the converter's first few samples
    while (sound < queued.size() / 2 && std::abs(queued[2 * sound]) > 100) ++sound;
    EXPECT_GE(sound, 1152u / 2);
}

}  // namespace
}  // namespace kestrova::testing
