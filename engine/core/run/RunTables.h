#pragma once
// Only for the core: the tables one run of a job works on, per input file, per input stream and
// per output stream. They are built when the run starts (run/StreamMapping.cpp), live only as long
// as the run and are freed at its end; the library contexts they hold are freed with them. The
// job reaches them through its one member FRunTables.
#include "engine/core/Job.h"
#include "engine/core/audio/AudioOutState.h"
#include "engine/core/run/EncoderState.h"
#include "engine/core/run/VideoStatsFile.h"
#include "engine/core/video/VideoOutState.h"
#include "engine/frame/LibPtr.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

struct TOutputFile;
struct TOutputStream;

struct TInputFileState {
    bool EndOfFile = false;
    // The file answered "nothing ready yet" on its last read.
    bool NoPacket = false;
    // Its streams in the input stream table: FirstStream .. FirstStream + NbStreams - 1.
    int FirstStream = 0;
    int NbStreams = 0;
};

struct InputStreamState {
    int FileIndex = 0;
    int StreamIndex = 0;
    AVStream* Stream = nullptr;         // owned by the input file
    AVCodecContext* Decoder = nullptr;  // owned by the job's input tables; open while DecoderOpen
    bool Discard = true;                // no output stream takes it
    bool DecodingNeeded = false;
    bool DecoderOpen = false;
    int64_t StartTime = 0;           // wall clock when the run started (real-time input), microseconds
    int64_t NextPts = kNoTimeValue;  // microseconds
    int64_t Pts = 0;                 // microseconds
    bool IsStart = true;
    bool Flushed = false;     // drained at the end of its input (join mode)
    int64_t PacketsRead = 0;  // the input gave this many packets of the stream in this run
    int Quality = 0;          // of the last decoded picture
    FramePtr Frame;           // decoded pictures and samples land here, one after another
};

// One output stream of the run: where it stands, where its input comes from, and the state of
// the stages it passes through, each kept by its stage.
struct OutputStreamState {
    int FileIndex = 0;                // output entry (a join output has one entry per input)
    int Index = 0;                    // stream index in its file
    int SourceIndex = 0;              // in the input stream table
    int SyncIndex = 0;                // the input stream it keeps pace with
    TOutputFile* File = nullptr;      // owned by the job's output tables
    TOutputStream* Output = nullptr;  // owned by File
    bool EncodingNeeded = false;
    int FrameNumber = 0;
    // Encoded video: frames counted in encoder time-base units; audio: samples.
    int64_t SyncOpts = 0;
    // End of the last packet written, in the stream's time base: its current presentation time.
    int64_t CurrentPts = 0;
    // Decoding time of the last packet written (stream time base); kNoTimeValue before any.
    int64_t LastDts = kNoTimeValue;

    TVideoOutState Video;   // video/VideoOutState.h
    TAudioOutState Audio;   // audio/AudioOutState.h
    TEncoderState Encoder;  // run/EncoderState.h
};

struct TRunTables {
    std::vector<TInputFileState> InputFiles;
    std::vector<InputStreamState> InputStreams;
    std::vector<OutputStreamState> OutputStreams;
    // Join mode: output streams per segment (the stream count of the first output) and the input
    // being played.
    int StreamsPerSegment = 0;
    int JoinIndex = 0;
    int NbNoPacket = 0;      // inputs that had nothing ready on this round
    int HeadersWritten = 0;  // outputs whose header is written (they get a trailer)
    int64_t LastReportTime = 0;
    PacketPtr Packet;      // the packet being handled
    PacketPtr CopyPacket;  // its copy on the way to an output
    CFilePtr VstatsFile;   // per-picture video statistics, open from the first encoded picture on
};

// The least and the most advanced output stream of one pass of the loop, in seconds.
struct TOutputTimes {
    double Min = 1e100;
    double Max = 0;
};

}  // namespace kestrova
