#pragma once
// The media probe: opens a media file (or adopts an input a job has already opened) and reports
// its container and stream properties; TAVProbe also seeks and decodes single video frames of
// files it opened itself and turns them into bitmaps.
//
// Failures come back as results with LastErrMsg set (and a log line); the exceptions are a
// missing media library ("LibAVCodec not loaded." ...) and seeking an adopted input.
#include "engine/frame/EngineBitmap.h"
#include "engine/frame/InterruptCheck.h"
#include "engine/frame/LibPtr.h"
#include "engine/frame/ProbeStreamInfo.h"
#include "engine/frame/UnicodeProtocol.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestrova {

// Raised by the probe for a missing media library and for seeking an adopted input.
class EProbeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TCustomAVProbe {
public:
    TCustomAVProbe();
    virtual ~TCustomAVProbe();
    TCustomAVProbe(const TCustomAVProbe&) = delete;
    TCustomAVProbe& operator=(const TCustomAVProbe&) = delete;

    // Opens and probes a file; `formatName` forces the container format when not empty.
    bool LoadFile(const std::string& fileName, const std::string& formatName = {});
    // A flag of the host that, once set, makes LoadFile give up on a source that blocks or never
    // ends (null: none). It must outlive the probe.
    void SetHostInterrupt(const std::atomic<bool>* flag) { FInterrupt.Host = flag; }
    // Adopts an input a job opened: it is read, never sought or closed here.
    void AttachContext(AVFormatContext* context);
    virtual void CloseFile();

    // Both log "file not loaded." and answer "" while no input is open.
    std::string FileName();
    std::string FormatShortName();
    TFileStreamInfo GetFileStreamInfo();
    TAudioStreamInfo GetAudioStreamInfo(int index = -1);
    TVideoStreamInfo GetVideoStreamInfo(int index = -1);

    const std::string& LastErrMsg() const { return FLastErrMsg; }
    const std::string& FormatName() const { return FFormatName; }
    int64_t FileSize() const { return FFileSize; }
    int StreamCount() const { return FStreamCount; }
    int ProgramCount() const { return FProgramCount; }
    int AudioStreamCount() const { return FAudioStreamCount; }
    int VideoStreamCount() const { return FVideoStreamCount; }
    int SubtitleStreamCount() const { return FSubtitleStreamCount; }
    int FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
    int FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
    int FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }

protected:
    // Recomputes the cached counts from the open input (all -1 without one).
    virtual void ReadInfo();
    // Logs `message` at the library `libraryLevel` with the probe as sender and keeps it.
    void LogError(int libraryLevel, const std::string& message);
    // False, with "file not loaded." logged, when no input is open.
    bool RequireFile();
    // The stream at `index` when it exists and is of `kind` (-1: the first of that kind).
    AVStream* StreamOfKind(int index, AVMediaType kind);

    AVFormatContext* Context() const { return FContext; }
    bool OwnsContext() const { return static_cast<bool>(FOwned); }
    // The open input's container short name ("" without one), without the check of FormatShortName.
    std::string OpenFormatName() const;

private:
    void CheckLibraries() const;

    TInterruptSources FInterrupt;         // what the opened input's interrupt callback checks
    InputFilePtr FOwned;                  // the input the probe opened itself
    AVFormatContext* FContext = nullptr;  // the open input, owned or adopted
    std::string FLastErrMsg;
    std::string FFormatName;
    int64_t FFileSize = -1;
    int FStreamCount = -1;
    int FProgramCount = -1;
    int FAudioStreamCount = -1;
    int FVideoStreamCount = -1;
    int FSubtitleStreamCount = -1;
    int FFirstAudioStreamIndex = -1;
    int FFirstVideoStreamIndex = -1;
    int FFirstSubtitleStreamIndex = -1;
};

// The decoded picture and where it came from.
struct TProbePicture {
    bool Ready = false;
    int PixelFormat = -1;
    int Width = 0;
    int Height = 0;
    bool KeyFrame = false;
    int PictureType = 0;      // 0 to 7
    int64_t Pts = INT64_MIN;  // microseconds from the stream's start; INT64_MIN when unknown
    int64_t PacketDts = INT64_MIN;
    int64_t PacketPts = INT64_MIN;
    int64_t PacketPos = -1;
};

class TAVProbe : public TCustomAVProbe {
public:
    TAVProbe();
    ~TAVProbe() override;

    void CloseFile() override;

    // Seeks to `position` (microseconds, or bytes with AVSEEK_FLAG_BYTE). Raises EProbeError on
    // an adopted input.
    bool Seek(int flags, int64_t position);
    // Decodes the next picture of a video stream (-1: the current one, else the first video
    // stream).
    bool DecodeNextFrame(int index = -1);
    // Converts the decoded picture into `bitmap`; on failure the bitmap has the picture's size
    // and is black.
    bool PictureToBitmap(TEngineBitmap& bitmap);

    const TProbePicture& Picture() const { return FPicture; }
    // The decoded picture itself (valid while Picture().Ready).
    const AVFrame* PictureFrame() const { return FPictureFrame.get(); }
    bool EndOfStream() const { return FEndOfStream; }

protected:
    void ReadInfo() override;

private:
    bool CheckSeekable();
    bool IsImageSequence() const;
    bool ChooseDecodeStream(int index);
    bool OpenDecoder();
    void CloseDecoder();
    bool ReceivePicture();
    void StorePicture(const AVPacket* packet);
    void ResetPicture();

    int FSeekStream = -1;
    int64_t FSeekStartOffset = 0;
    int FDecodeStream = -1;
    int FDecoderStream = -1;  // the stream the open decoder belongs to
    bool FEndOfStream = false;
    bool FDrained = false;  // the decoder has been sent the end of its stream
    CodecContextPtr FDecoder;
    PacketPtr FPacket;
    FramePtr FDecodedFrame;
    FramePtr FPictureFrame;
    TProbePicture FPicture;
    TPictureConverter FConverter;
};

}  // namespace kestrova
