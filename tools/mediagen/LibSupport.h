#pragma once
// Owning handles and error checks for the media library objects the generator uses. The
// generator links the libraries directly (it is a tool, not the engine).
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
}

#include <memory>
#include <new>
#include <string>

namespace kestrova::mediagen {

namespace detail {
struct FrameFree {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct CodecContextFree {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
// An output context closes its file (when one was opened) before it is freed.
struct OutputContextFree {
    void operator()(AVFormatContext* p) const {
        if (p && p->oformat && !(p->oformat->flags & AVFMT_NOFILE)) avio_closep(&p->pb);
        avformat_free_context(p);
    }
};
}  // namespace detail

using FramePtr = std::unique_ptr<AVFrame, detail::FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, detail::PacketFree>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, detail::CodecContextFree>;
using OutputContextPtr = std::unique_ptr<AVFormatContext, detail::OutputContextFree>;

// An option dictionary handed to calls that take it by address and may replace it.
struct TOptionList {
    AVDictionary* Entries = nullptr;
    TOptionList() = default;
    TOptionList(const TOptionList&) = delete;
    TOptionList& operator=(const TOptionList&) = delete;
    ~TOptionList() { av_dict_free(&Entries); }
    void Set(const char* key, const char* value) { av_dict_set(&Entries, key, value, 0); }
    int Count() const { return av_dict_count(Entries); }
};

// The library's text for an error code.
std::string LibErrorText(int error);

// Throws std::runtime_error("<what>: <library text>") when a library call returned an error.
void CheckLib(int result, const std::string& what);

// Allocation results: throws when the library returned no object.
template <class T>
T* CheckAlloc(T* object) {
    if (!object) throw std::bad_alloc();
    return object;
}

}  // namespace kestrova::mediagen
