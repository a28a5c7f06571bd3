#pragma once
// Owning handles for library objects: each lives in a std::unique_ptr whose deleter is the
// library's own free function, called through the bound entry points.
#include "engine/frame/LibBindings.h"

#include <memory>

namespace kestrova {

namespace detail {
struct FrameFree {
    void operator()(AVFrame* p) const { ff::av_frame_free(&p); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { ff::av_packet_free(&p); }
};
struct CodecContextFree {
    void operator()(AVCodecContext* p) const { ff::avcodec_free_context(&p); }
};
struct CodecParametersFree {
    void operator()(AVCodecParameters* p) const { ff::avcodec_parameters_free(&p); }
};
struct InputFormatClose {
    void operator()(AVFormatContext* p) const { ff::avformat_close_input(&p); }
};
struct FormatContextFree {
    void operator()(AVFormatContext* p) const { ff::avformat_free_context(p); }
};
struct FilterGraphFree {
    void operator()(AVFilterGraph* p) const { ff::avfilter_graph_free(&p); }
};
struct FilterInOutFree {
    void operator()(AVFilterInOut* p) const { ff::avfilter_inout_free(&p); }
};
struct ScalerFree {
    void operator()(SwsContext* p) const { ff::sws_freeContext(p); }
};
struct ResamplerFree {
    void operator()(SwrContext* p) const { ff::swr_free(&p); }
};
struct AudioFifoFree {
    void operator()(AVAudioFifo* p) const { ff::av_audio_fifo_free(p); }
};
struct BsfFree {
    void operator()(AVBSFContext* p) const { ff::av_bsf_free(&p); }
};
struct DictionaryFree {
    void operator()(AVDictionary* p) const { ff::av_dict_free(&p); }
};
struct AvFree {
    void operator()(void* p) const { ff::av_free(p); }
};
struct AvioContextFree {
    // Frees a custom I/O context together with its buffer (the library may have replaced it).
    void operator()(AVIOContext* p) const {
        if (p) ff::av_freep(&p->buffer);
        ff::avio_context_free(&p);
    }
};
}  // namespace detail

using FramePtr = std::unique_ptr<AVFrame, detail::FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, detail::PacketFree>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, detail::CodecContextFree>;
using CodecParametersPtr = std::unique_ptr<AVCodecParameters, detail::CodecParametersFree>;
using InputFormatPtr = std::unique_ptr<AVFormatContext, detail::InputFormatClose>;
using FormatContextPtr = std::unique_ptr<AVFormatContext, detail::FormatContextFree>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, detail::FilterGraphFree>;
using FilterInOutPtr = std::unique_ptr<AVFilterInOut, detail::FilterInOutFree>;
using ScalerPtr = std::unique_ptr<SwsContext, detail::ScalerFree>;
using ResamplerPtr = std::unique_ptr<SwrContext, detail::ResamplerFree>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, detail::AudioFifoFree>;
using BsfPtr = std::unique_ptr<AVBSFContext, detail::BsfFree>;
using DictionaryPtr = std::unique_ptr<AVDictionary, detail::DictionaryFree>;
using AvioContextPtr = std::unique_ptr<AVIOContext, detail::AvioContextFree>;
template <class T>
using AvMemoryPtr = std::unique_ptr<T, detail::AvFree>;

}  // namespace kestrova
