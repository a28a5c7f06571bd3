#include "engine/core/run/VideoStatsFile.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/outputs/OutputFiles.h"
#include "engine/core/run/RunTables.h"

#include <algorithm>
#include <cmath>

namespace kestrova {

void WriteVideoStatsLine(CFilePtr& file, const std::string& fileName, const OutputStreamState& ost,
                         int frameSize, int64_t videoBytes) {
    if (!file) {
        file.reset(std::fopen(fileName.c_str(), "w"));
        if (!file) throw FFmpegException("fopen fail: " + fileName);
    }
    const AVCodecContext& encoder = *ost.Output->Codec;
    std::FILE* out = file.get();
    std::fprintf(out, "frame= %5d q= %2.1f ", ost.FrameNumber,
                 static_cast<double>(ost.Encoder.CodedQuality) / FF_QP2LAMBDA);
    if (encoder.flags & AV_CODEC_FLAG_PSNR)
        std::fprintf(
                out, "PSNR= %6.2f ",
                -10.0 * std::log10(static_cast<double>(ost.Encoder.CodedError[0]) /
                                   (static_cast<double>(encoder.width) * encoder.height * 255.0 * 255.0)));
    std::fprintf(out, "f_size= %6d ", frameSize);
    const double timeBase = ::av_q2d(encoder.time_base);
    const double time = std::max(static_cast<double>(ost.SyncOpts) * timeBase, 0.01);
    const double bitRate = frameSize * 8 / timeBase / 1000;
    const double average = static_cast<double>(videoBytes) * 8 / time / 1000;
    std::fprintf(out, "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
                 static_cast<double>(videoBytes) / 1024, time, bitRate, average);
    std::fprintf(out, "type= %c\n",
                 ff::av_get_picture_type_char(static_cast<AVPictureType>(ost.Encoder.CodedPictureType)));
}

}  // namespace kestrova
