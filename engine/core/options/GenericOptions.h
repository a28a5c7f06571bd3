#pragma once
// Generic library options of a job: set by name on default codec contexts (one per media
// kind), a default format context and a scaler context, remembered by name, and copied onto
// the real decoders, encoders and formats when those are created. Names that 5.1 keeps as
// private options of one encoder (libx264's "crf", "preset", ...) or of one muxer are checked
// against the pending encoder or muxer and kept per kind for the moment it opens.
#include "engine/frame/LibPtr.h"

#include <array>
#include <string>
#include <vector>

namespace kestrova {

inline constexpr int kMediaKindCount = 5;  // video, audio, data, subtitle, attachment

// Option flag masks of the targets the remembered options are copied onto.
inline constexpr int kVideoEncoderFlags = AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM;
inline constexpr int kAudioEncoderFlags = AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM;
inline constexpr int kSubtitleEncoderFlags = AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_ENCODING_PARAM;
inline constexpr int kOutputFormatFlags = AV_OPT_FLAG_ENCODING_PARAM;
inline constexpr int kInputFormatFlags = AV_OPT_FLAG_DECODING_PARAM;
inline constexpr int kVideoDecoderFlags = AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_DECODING_PARAM;
inline constexpr int kAudioDecoderFlags = AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_DECODING_PARAM;

// Which encoder and muxer the private options are checked against: the pending codec name of
// each kind (empty: none) and the pending container format name.
struct TPrivateOptionOwners {
    std::array<std::string, kMediaKindCount> EncoderNames;
    std::string FormatName;
};

class TGenericOptions {
public:
    // (Re)creates the contexts with the given scaler flags and forgets every set option.
    // The media libraries must be loaded.
    void Create(int scalerFlags);
    void Release();
    bool IsCreated() const { return FFormat != nullptr; }

    // Sets a generic option by name; false when nothing knows the name or the value is refused
    // (logged). Never throws for a bad value.
    bool Set(const std::string& name, const std::string& value, const TPrivateOptionOwners& owners);

    // Copies every remembered option whose flags include all of `flags` from the default
    // context of `kind` (or the default format context) onto `target`.
    void CopyCodecOptions(AVMediaType kind, void* target, int flags) const;
    void CopyFormatOptions(void* target, int flags) const;

    AVCodecContext* CodecDefaults(AVMediaType kind) const;
    AVFormatContext* FormatDefaults() const { return FFormat.get(); }
    SwsContext* ScalerDefaults() const { return FScaler.get(); }
    // The scaler flags as currently set ("sws_flags" may change them).
    int ScalerFlags() const;
    // The names of every option set so far, in order (each once).
    const std::vector<std::string>& SetNames() const { return FSetNames; }

    // Private options kept for the encoder of a kind and for the muxer (null when none);
    // hand a copy to avcodec_open2 / avformat_write_header.
    const AVDictionary* EncoderPrivateOptions(AVMediaType kind) const;
    const AVDictionary* MuxerPrivateOptions() const { return FMuxerPrivate.get(); }
    void ClearEncoderPrivateOptions(AVMediaType kind);
    void ClearMuxerPrivateOptions() { FMuxerPrivate.reset(); }

    // True when the video default context or the format context asks for debug output.
    bool DebugRequested() const;

private:
    enum class TSetResult { NotFound, Set, Failed };

    TSetResult SetOnDefaultContexts(const std::string& name, const std::string& value);
    TSetResult SetOnPrefixedKind(const std::string& name, const std::string& value);
    TSetResult SetPrivate(const std::string& name, const std::string& value,
                          const TPrivateOptionOwners& owners);
    TSetResult SetEncoderPrivate(AVMediaType kind, const std::string& encoderName, const std::string& name,
                                 const std::string& value);
    TSetResult SetMuxerPrivate(const std::string& formatName, const std::string& name,
                               const std::string& value);
    void Remember(const std::string& name);
    void CopyRemembered(void* source, void* target, int flags) const;

    std::array<CodecContextPtr, kMediaKindCount> FCodec;
    FormatContextPtr FFormat;
    ScalerPtr FScaler;
    std::vector<std::string> FSetNames;
    std::array<DictionaryPtr, kMediaKindCount> FEncoderPrivate;
    DictionaryPtr FMuxerPrivate;
};

}  // namespace kestrova
