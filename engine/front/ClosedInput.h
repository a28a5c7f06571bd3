#pragma once
// TClosedInput: what a task keeps of its opened input while it waits for its run. An opened
// and probed input holds the packets the probing read, its I/O buffer and the demuxer's state
// (about 2 MB for a small clip); the description is a format context that only describes the
// input: its name, format, timing, metadata, programs and streams with their parameters. It
// reads nothing and can be freed like any opened input: its format is a copy of the input's
// public description, without the demuxer's functions.
#include "engine/frame/LibPtr.h"
#include "engine/frame/UnicodeProtocol.h"

#include <memory>

namespace kestrova {

class TClosedInput {
public:
    // Describes `input`. Raises FFmpegException when the libraries refuse an allocation.
    explicit TClosedInput(const AVFormatContext& input);
    ~TClosedInput();
    TClosedInput(const TClosedInput&) = delete;
    TClosedInput& operator=(const TClosedInput&) = delete;

    // The describing context, once: its owner must free it before the description goes.
    InputFilePtr TakeContext();

    // Whether `reopened` is still the input described: the same streams of the same kinds,
    // codecs, sizes and rates, and the same duration.
    static bool SameStreams(const AVFormatContext& described, const AVFormatContext& reopened);

private:
    AVInputFormat FFormat{};
    InputFilePtr FContext;
};

}  // namespace kestrova
