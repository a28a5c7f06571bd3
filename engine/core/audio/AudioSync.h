#pragma once
// Only for the core. Keeping an output audio stream in step with its input's timestamps: the output's sample
// clock is compared with the input time of the decoded samples, and the difference is made good by dropping
// samples, putting silence before them, or stretching them a little in the converter.
#include "engine/core/run/RunTables.h"

namespace kestrova {

struct TAudioSyncSettings {
    int Method = 0;  // 0: follow the input times; 1: drop/insert; above 1: also stretch by up to this
    double DriftThreshold = 0.1;  // seconds of difference beyond which samples are dropped or inserted
    int64_t StartTime = 0;        // microseconds subtracted from the input times
    int Verbose = 1;
    const void* LogSender = nullptr;
};

// What one call of the output path must do with its decoded samples.
struct TAudioSyncStep {
    int DropSamples = 0;       // decoded samples to skip at the front
    int SilenceSamples = 0;    // samples of silence at the decoded rate to put before them
    bool MoreSilence = false;  // the gap is longer than one call may fill: more silence follows
    bool Nothing = false;      // every decoded sample is dropped
};

// Compares the stream's clock (ost.SyncOpts plus what waits in the fifo) with the input time of
// `samples` and decides; with method 0 it moves the clock instead. Stretches through `resampler`
// (which may be null below method 2).
TAudioSyncStep SyncAudio(const TAudioSyncSettings& settings, OutputStreamState& ost, InputStreamState& ist,
                         const AVFrame& samples, SwrContext* resampler);

}  // namespace kestrova
