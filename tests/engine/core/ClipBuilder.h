#pragma once
// Readable clip requests for the job tests: Spec("flv", 1).Size(640, 360).Rate("25").
#include "tests/support/TestMedia.h"

#include <string>

namespace kestrova::testing {

struct TClipBuilder {
    testmedia::ClipSpec Value;

    TClipBuilder(const std::string& format, double duration) {
        Value.format = format;
        Value.duration = duration;
        Value.width = 160;
        Value.height = 120;
    }
    TClipBuilder& Size(int width, int height) {
        Value.width = width;
        Value.height = height;
        return *this;
    }
    TClipBuilder& Rate(const std::string& rate) {
        Value.rate = rate;
        return *this;
    }
    TClipBuilder& Audio(int sampleRate, int channels) {
        Value.sampleRate = sampleRate;
        Value.channels = channels;
        return *this;
    }
    TClipBuilder& Damage(const std::string& damage) {
        Value.damage = damage;
        return *this;
    }
    std::string Path() const { return testmedia::Clip(Value); }
};

}  // namespace kestrova::testing
