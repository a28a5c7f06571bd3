// Audio sync decisions made quietly: below the verbosity of its log lines, a correction costs no
// memory allocation (it runs once per decoded audio frame).
#include "engine/core/audio/AudioSync.h"
#include "engine/core/outputs/OutputFiles.h"
#include "tests/engine/core/JobTestSupport.h"

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

struct TSyncCase {
    const char* Name;
    bool AtStart;       // the input stream has not been corrected yet
    int64_t InputTime;  // microseconds; the output clock stands at 0
    bool Drops, Inserts;
};

class AudioSyncTest : public JobTest, public ::testing::WithParamInterface<TSyncCase> {};

TEST_P(AudioSyncTest, QuietCorrectionsAllocateNothing) {
    const TSyncCase& sync = GetParam();
    TOutputStream stream;
    stream.Codec.reset(ff::avcodec_alloc_context3(nullptr));
    ASSERT_TRUE(stream.Codec);
    stream.Codec->sample_rate = 44100;
    ff::av_channel_layout_default(&stream.Codec->ch_layout, 2);
    OutputStreamState ost;
    ost.Output = &stream;
    InputStreamState ist;
    ist.IsStart = sync.AtStart;
    ist.Pts = sync.InputTime;
    FramePtr samples(ff::av_frame_alloc());
    samples->sample_rate = 44100;
    samples->nb_samples = 1152;
    ff::av_channel_layout_default(&samples->ch_layout, 2);
    SwrContext* made = nullptr;
    ff::swr_alloc_set_opts2(&made, &stream.Codec->ch_layout, AV_SAMPLE_FMT_S16, 44100, &samples->ch_layout,
                            AV_SAMPLE_FMT_S16, 44100, 0, nullptr);
    ResamplerPtr resampler(made);
    ASSERT_TRUE(resampler);
    ff::av_opt_set(made, "flags", "res", 0);
    ASSERT_GE(ff::swr_init(made), 0);

    const TAudioSyncSettings settings{2, 0.1, 0, 0, &job};
    gAllocations = 0;
    gCounting = true;
    const TAudioSyncStep step = SyncAudio(settings, ost, ist, *samples, made);
    gCounting = false;
    EXPECT_EQ(gAllocations, 0);
    EXPECT_EQ(step.DropSamples > 0, sync.Drops);
    EXPECT_EQ(step.SilenceSamples > 0, sync.Inserts);
}

INSTANTIATE_TEST_SUITE_P(Cases, AudioSyncTest,
                         ::testing::Values(TSyncCase{"Stretch", false, 20000, false, false},
                                           TSyncCase{"Drop", true, -20000, true, false},
                                           TSyncCase{"InsertSilence", true, 20000, false, true}),
                         [](const ::testing::TestParamInfo<TSyncCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace kestrova::testing
