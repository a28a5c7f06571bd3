#pragma once
// The output side of a job: each output file with its format context, its muxer options and,
// per stream, the encoder context with the options kept for it and the bitstream filter chain
// the stream took when it was created.
#include "engine/core/Job.h"
#include "engine/core/outputs/BitstreamFilters.h"
#include "engine/frame/LibPtr.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kestrova {

struct TOutputStream {
    AVStream* Stream = nullptr;  // owned by the file's format context
    AVMediaType Kind = AVMEDIA_TYPE_UNKNOWN;
    bool StreamCopy = false;
    // The encoder context. Its parameters go to Stream->codecpar once the encoder is open.
    CodecContextPtr Codec;
    // The encoder chosen by name (also in the job's output codec table); null when the codec
    // is chosen by id when the run opens it.
    const AVCodec* Encoder = nullptr;
    // Private options of the encoder (libx264's "preset", "crf", ...): hand a copy to
    // avcodec_open2.
    DictionaryPtr EncoderOptions;
    TBitstreamFilterChain BitstreamFilters;
    // Set once the chain's filters know the stream's parameters (see WritePacket).
    bool BitstreamFiltersReady = false;
    // Scratch packets of the chain, one per filter, reused for every packet.
    std::vector<PacketPtr> FilteredPackets;
    // Packets handed to the muxer: a run that wrote none for a sound or picture stream encoded
    // nothing for it.
    int64_t PacketsWritten = 0;
};

// Destroying an output file closes it (unless its format writes no file itself), frees its
// streams and context, and removes the file from disk when it was left empty.
struct TOutputFile {
    TOutputFile() = default;
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    FormatContextPtr Context;
    // Options of the muxer: hand a copy to avformat_write_header.
    DictionaryPtr MuxerOptions;
    // Index = the stream's index in Context.
    std::vector<std::unique_ptr<TOutputStream>> Streams;
    // The path as given (UTF-8): an output left empty is removed from here when released.
    std::string FileName;
    // A file of that name was there before the job opened it: releasing never removes it.
    bool ExistedBefore = false;
    // The run encoded nothing into it: removed when released, whatever it holds.
    bool RemoveWhenReleased = false;
};

// The job's one table of output files.
struct TOutputTables {
    // One entry per output file of the job; a join output fills several entries with the same
    // file (one per input).
    std::array<TOutputFile*, kMaxFiles> Entries{};
    int NbOutputFiles = 0;  // entries in use
    // The files themselves, each once.
    std::vector<std::unique_ptr<TOutputFile>> Owned;
};

}  // namespace kestrova
