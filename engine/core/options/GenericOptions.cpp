#include "engine/core/options/GenericOptions.h"

#include "engine/core/options/OptionValues.h"
#include "engine/frame/Text.h"

#include <algorithm>

namespace kestrova {

namespace {

// Which options of a default context belong to its kind.
constexpr std::array<int, kMediaKindCount> kKindMasks = {
        AV_OPT_FLAG_VIDEO_PARAM,     // video
        AV_OPT_FLAG_AUDIO_PARAM,     // audio
        0,                           // data
        AV_OPT_FLAG_SUBTITLE_PARAM,  // subtitle
        0,                           // attachment
};

// "b" is the video bit rate in this vocabulary; the audio rate is "ab". The library marks "b"
// for audio as well, and setting it there would encode the audio at the video's rate.
bool IsVideoOnlyName(const std::string& name) {
    return name == "b";
}

AVMediaType KindOfPrefix(char prefix) {
    switch (prefix) {
        case 'a':
            return AVMEDIA_TYPE_AUDIO;
        case 'v':
            return AVMEDIA_TYPE_VIDEO;
        case 's':
            return AVMEDIA_TYPE_SUBTITLE;
        default:
            return AVMEDIA_TYPE_UNKNOWN;
    }
}

void DictionarySet(DictionaryPtr& dictionary, const std::string& name, const std::string& value) {
    AVDictionary* raw = dictionary.release();
    ff::av_dict_set(&raw, name.c_str(), value.c_str(), 0);
    dictionary.reset(raw);
}

bool IsPrivateOption(const AVClass* privateClass, const std::string& name) {
    if (!privateClass) return false;
    const AVClass* fakeObject = privateClass;
    return ff::av_opt_find(&fakeObject, name.c_str(), nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

}  // namespace

void TGenericOptions::Create(int scalerFlags) {
    Release();
    for (int kind = 0; kind < kMediaKindCount; ++kind) {
        FCodec[kind].reset(ff::avcodec_alloc_context3(nullptr));
        if (FCodec[kind]) FCodec[kind]->codec_type = static_cast<AVMediaType>(kind);
    }
    FFormat.reset(ff::avformat_alloc_context());
    FScaler.reset(ff::sws_getContext(16, 16, AV_PIX_FMT_YUV420P, 16, 16, AV_PIX_FMT_YUV420P, scalerFlags,
                                     nullptr, nullptr, nullptr));
}

void TGenericOptions::Release() {
    for (auto& context : FCodec) context.reset();
    FFormat.reset();
    FScaler.reset();
    FSetNames.clear();
    for (auto& dictionary : FEncoderPrivate) dictionary.reset();
    FMuxerPrivate.reset();
}

AVCodecContext* TGenericOptions::CodecDefaults(AVMediaType kind) const {
    if (kind < 0 || kind >= kMediaKindCount) return nullptr;
    return FCodec[kind].get();
}

const AVDictionary* TGenericOptions::EncoderPrivateOptions(AVMediaType kind) const {
    if (kind < 0 || kind >= kMediaKindCount) return nullptr;
    return FEncoderPrivate[kind].get();
}

void TGenericOptions::ClearEncoderPrivateOptions(AVMediaType kind) {
    if (kind >= 0 && kind < kMediaKindCount) FEncoderPrivate[kind].reset();
}

int TGenericOptions::ScalerFlags() const {
    int64_t flags = 0;
    if (!FScaler || ff::av_opt_get_int(FScaler.get(), "sws_flags", 0, &flags) < 0) return 0;
    return static_cast<int>(flags);
}

bool TGenericOptions::DebugRequested() const {
    const AVCodecContext* video = FCodec[AVMEDIA_TYPE_VIDEO].get();
    return (video && video->debug != 0) || (FFormat && FFormat->debug != 0);
}

bool TGenericOptions::Set(const std::string& rawName, const std::string& rawValue,
                          const TPrivateOptionOwners& owners) {
    const std::string name = Trimmed(rawName);
    const std::string value = Trimmed(rawValue);
    if (name.empty() || value.empty() || !IsCreated()) return false;

    std::string setName = name;
    TSetResult result = SetOnDefaultContexts(name, value);
    if (result == TSetResult::NotFound) {
        result = SetOnPrefixedKind(name, value);
        if (result != TSetResult::NotFound) setName = name.substr(1);
    }
    bool remember = true;
    if (result == TSetResult::NotFound) {
        result = SetPrivate(name, value, owners);
        remember = false;  // kept in the private lists instead
    }
    if (result == TSetResult::Failed) {
        ff::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", value.c_str(),
                   name.c_str());
        return false;
    }
    if (result == TSetResult::NotFound) return false;
    if (remember) Remember(setName);
    return true;
}

TGenericOptions::TSetResult TGenericOptions::SetOnDefaultContexts(const std::string& name,
                                                                  const std::string& value) {
    bool found = false;
    for (int kind = 0; kind < kMediaKindCount; ++kind) {
        AVCodecContext* context = FCodec[kind].get();
        if (!context || (kind == AVMEDIA_TYPE_AUDIO && IsVideoOnlyName(name))) continue;
        if (!ff::av_opt_find(context, name.c_str(), nullptr, kKindMasks[kind], 0)) continue;
        found = true;
        if (ff::av_opt_set(context, name.c_str(), value.c_str(), 0) < 0) return TSetResult::Failed;
    }
    if (found) return TSetResult::Set;

    for (void* context : {static_cast<void*>(FFormat.get()), static_cast<void*>(FScaler.get())}) {
        if (!context || !ff::av_opt_find(context, name.c_str(), nullptr, 0, 0)) continue;
        return ff::av_opt_set(context, name.c_str(), value.c_str(), 0) < 0 ? TSetResult::Failed
                                                                           : TSetResult::Set;
    }
    return TSetResult::NotFound;
}

TGenericOptions::TSetResult TGenericOptions::SetOnPrefixedKind(const std::string& name,
                                                               const std::string& value) {
    const AVMediaType kind = KindOfPrefix(name[0]);
    if (kind == AVMEDIA_TYPE_UNKNOWN || name.size() < 2) return TSetResult::NotFound;
    AVCodecContext* context = FCodec[kind].get();
    const std::string shortName = name.substr(1);
    if (!context || !ff::av_opt_find(context, shortName.c_str(), nullptr, kKindMasks[kind], 0))
        return TSetResult::NotFound;
    return ff::av_opt_set(context, shortName.c_str(), value.c_str(), 0) < 0 ? TSetResult::Failed
                                                                            : TSetResult::Set;
}

TGenericOptions::TSetResult TGenericOptions::SetPrivate(const std::string& name, const std::string& value,
                                                        const TPrivateOptionOwners& owners) {
    TSetResult result = TSetResult::NotFound;
    for (int kind = 0; kind < kMediaKindCount; ++kind) {
        if (owners.EncoderNames[kind].empty()) continue;
        const TSetResult kindResult =
                SetEncoderPrivate(static_cast<AVMediaType>(kind), owners.EncoderNames[kind], name, value);
        if (kindResult == TSetResult::Failed) return kindResult;
        if (kindResult == TSetResult::Set) result = kindResult;
    }
    if (!owners.FormatName.empty()) {
        const TSetResult muxerResult = SetMuxerPrivate(owners.FormatName, name, value);
        if (muxerResult != TSetResult::NotFound) return muxerResult;
    }
    return result;
}

TGenericOptions::TSetResult TGenericOptions::SetEncoderPrivate(AVMediaType kind,
                                                               const std::string& encoderName,
                                                               const std::string& name,
                                                               const std::string& value) {
    const AVCodec* encoder = ff::avcodec_find_encoder_by_name(encoderName.c_str());
    if (!encoder || encoder->type != kind || !IsPrivateOption(encoder->priv_class, name))
        return TSetResult::NotFound;
    // Check the value on a context of that encoder (this only sets up its defaults; the
    // encoder itself is not opened).
    CodecContextPtr probe(ff::avcodec_alloc_context3(encoder));
    if (!probe || !probe->priv_data || ff::av_opt_set(probe->priv_data, name.c_str(), value.c_str(), 0) < 0)
        return TSetResult::Failed;
    DictionarySet(FEncoderPrivate[kind], name, value);
    return TSetResult::Set;
}

TGenericOptions::TSetResult TGenericOptions::SetMuxerPrivate(const std::string& formatName,
                                                             const std::string& name,
                                                             const std::string& value) {
    const AVOutputFormat* muxer = ff::av_guess_format(formatName.c_str(), nullptr, nullptr);
    if (!muxer || !IsPrivateOption(muxer->priv_class, name)) return TSetResult::NotFound;
    AVFormatContext* raw = nullptr;
    ff::avformat_alloc_output_context2(&raw, muxer, nullptr, nullptr);
    FormatContextPtr probe(raw);
    if (!probe || !probe->priv_data || ff::av_opt_set(probe->priv_data, name.c_str(), value.c_str(), 0) < 0)
        return TSetResult::Failed;
    DictionarySet(FMuxerPrivate, name, value);
    return TSetResult::Set;
}

void TGenericOptions::Remember(const std::string& name) {
    if (std::find(FSetNames.begin(), FSetNames.end(), name) == FSetNames.end()) FSetNames.push_back(name);
}

void TGenericOptions::CopyCodecOptions(AVMediaType kind, void* target, int flags) const {
    CopyRemembered(CodecDefaults(kind), target, flags);
}

void TGenericOptions::CopyFormatOptions(void* target, int flags) const {
    CopyRemembered(FFormat.get(), target, flags);
}

void TGenericOptions::CopyRemembered(void* source, void* target, int flags) const {
    if (!source || !target) return;
    for (const std::string& name : FSetNames) {
        if (!ff::av_opt_find(source, name.c_str(), nullptr, flags, 0)) continue;
        uint8_t* text = nullptr;
        if (ff::av_opt_get(source, name.c_str(), 0, &text) < 0 || !text) continue;
        AvMemoryPtr<uint8_t> owned(text);
        ff::av_opt_set(target, name.c_str(), reinterpret_cast<const char*>(text), 0);
    }
}

}  // namespace kestrova
