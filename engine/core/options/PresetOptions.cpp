// The options "apre", "vpre", "spre", "fpre" and "target": the job applies presets and target
// presets to itself through the setters they ask for.
#include "engine/core/CustomFFmpeg.h"

#include "engine/frame/FFmpegLogger.h"

namespace kestrova {

void TCustomFFmpeg::ApplyPresetOption(const std::string& name, const std::string& value) {
    ::kestrova::ApplyPresetOption(name, value, *this);
}

void TCustomFFmpeg::ApplyTargetOption(const std::string& value) {
    ::kestrova::ApplyTargetOption(value, *this);
}

std::string TCustomFFmpeg::CodecName(char kind) const {
    switch (kind) {
        case 'v':
            return FVideo.CodecName;
        case 'a':
            return FAudio.CodecName;
        case 's':
            return FSubtitle.CodecName;
        default:
            return {};
    }
}

void TCustomFFmpeg::SetCodecName(char kind, const std::string& name) {
    switch (kind) {
        case 'v':
            ApplyCodecName(AVMEDIA_TYPE_VIDEO, name);
            break;
        case 'a':
            ApplyCodecName(AVMEDIA_TYPE_AUDIO, name);
            break;
        case 's':
            ApplyCodecName(AVMEDIA_TYPE_SUBTITLE, name);
            break;
        default:
            break;
    }
}

AVRational TCustomFFmpeg::PendingFrameRate() const {
    return FVideo.FrameRate;
}

// The rate each input video stream runs at: its real frame rate, else its average rate.
std::vector<AVRational> TCustomFFmpeg::InputVideoFrameRates() const {
    std::vector<AVRational> rates;
    for (int file = 0; file < FFiles.NbInputFiles; ++file) {
        const AVFormatContext* input = FFiles.InputFiles[file].get();
        if (!input) continue;
        for (unsigned i = 0; i < input->nb_streams; ++i) {
            const AVStream& stream = *input->streams[i];
            if (stream.codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
            rates.push_back(stream.r_frame_rate.num && stream.r_frame_rate.den ? stream.r_frame_rate
                                                                               : stream.avg_frame_rate);
        }
    }
    return rates;
}

bool TCustomFFmpeg::AspectRatioSet() const {
    return FVideo.FrameAspectRatio != 0;
}

int TCustomFFmpeg::Channels() const {
    return FAudio.Channels;
}

int TCustomFFmpeg::Verbosity() const {
    return FRun.Verbose;
}

void TCustomFFmpeg::Log(int level, const std::string& message) {
    TFFLogger::Instance().Log(this, level, message);
}

}  // namespace kestrova
