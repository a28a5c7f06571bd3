#pragma once
// Decodes every packet of one stream of an opened file, then drains the decoder, handing each
// decoded frame to the caller.
#include "engine/frame/LibBindings.h"
#include "engine/frame/LibPtr.h"

namespace kestrova::testing {

template <class OnFrame>
void DecodeStream(AVFormatContext& file, int streamIndex, AVCodecContext& decoder, OnFrame onFrame) {
    PacketPtr packet(ff::av_packet_alloc());
    FramePtr frame(ff::av_frame_alloc());
    const auto drain = [&] {
        while (ff::avcodec_receive_frame(&decoder, frame.get()) >= 0) {
            onFrame(*frame);
            ff::av_frame_unref(frame.get());
        }
    };
    while (ff::av_read_frame(&file, packet.get()) >= 0) {
        if (packet->stream_index == streamIndex && ff::avcodec_send_packet(&decoder, packet.get()) >= 0)
            drain();
        ff::av_packet_unref(packet.get());
    }
    ff::avcodec_send_packet(&decoder, nullptr);
    drain();
}

}  // namespace kestrova::testing
