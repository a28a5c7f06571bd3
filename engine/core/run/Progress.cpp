// The progress report of a running job: the status line ("frame= ... size= ... time= ...") and
// the numbers behind it for the front's callback; the last report adds the byte statistics.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/run/JobStatistics.h"
#include "engine/core/run/QualityStats.h"
#include "engine/core/run/RunTables.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

#include <cmath>

namespace kestrova {

namespace {

double Psnr(double error, double scale) {
    return -10.0 * std::log10(error / scale);
}

// "PSNR=Y:%2.2f U:%2.2f V:%2.2f *:%2.2f ": per plane from the last packet's errors, or over the
// whole run from the encoder's sums in the last report.
std::string PsnrText(const AVCodecContext& encoder, const OutputStreamState& ost, bool lastReport) {
    std::string text = "PSNR=";
    double errorSum = 0, scaleSum = 0;
    for (int plane = 0; plane < 3; ++plane) {
        const auto error =
                static_cast<double>(lastReport ? encoder.error[plane] : ost.Encoder.CodedError[plane]);
        double scale = static_cast<double>(encoder.width) * encoder.height * 255.0 * 255.0;
        if (lastReport) scale *= ost.FrameNumber;
        if (plane > 0) scale /= 4;
        errorSum += error;
        scaleSum += scale;
        text += FormatText("%c:%2.2f ", "YUV"[plane], Psnr(error, scale));
    }
    return text + FormatText("*:%2.2f ", Psnr(errorSum, scaleSum));
}

float StreamQuality(const OutputStreamState& ost) {
    if (!ost.EncodingNeeded || ost.Encoder.CodedQuality < 0) return -1;
    return static_cast<float>(ost.Encoder.CodedQuality) / FF_QP2LAMBDA;
}

}  // namespace

// Bytes written so far to the first output: its size, else its position.
int64_t TCustomFFmpeg::ReportedOutputSize() const {
    if (FOutputs.NbOutputFiles <= 0 || !FOutputs.Entries[0] || !FOutputs.Entries[0]->Context) return 0;
    AVIOContext* io = FOutputs.Entries[0]->Context->pb;
    if (!io) return 0;
    const int64_t size = ff::avio_size(io);
    return size >= 0 ? size : ff::avio_seek(io, 0, SEEK_CUR);
}

void TCustomFFmpeg::PrintReport(bool lastReport, int inputIndex) {
    if (!FRunTables) return;
    TJobProgress progress;
    progress.InputIndex = inputIndex;
    progress.TotalDuration = FState.TotalDuration;
    progress.TotalSize = ReportedOutputSize();
    std::string line;
    double currentTime = 0;  // the least advanced stream that has written something
    bool firstVideo = true;
    for (const OutputStreamState& ost : FRunTables->OutputStreams) {
        if (ost.Output->Kind == AVMEDIA_TYPE_VIDEO) {
            const float quality = StreamQuality(ost);
            if (firstVideo) {
                firstVideo = false;
                if (ost.FrameNumber < 1) return;
                const double elapsed =
                        static_cast<double>(ff::av_gettime() - FStatistics.StartTime) / 1000000;
                progress.FrameNumber = ost.FrameNumber;
                progress.Fps = elapsed > 1 ? static_cast<int>(ost.FrameNumber / elapsed + 0.5) : 0;
                progress.Quality = quality;
                line += FormatText("frame=%5d fps=%3d q=%3.1f ", progress.FrameNumber, progress.Fps,
                                   static_cast<double>(quality));
                if (lastReport) line += "L";
                if (FRun.QpHist) {
                    CountQuantiser(static_cast<int>(std::lrint(quality)));
                    line += QuantiserHistogramText();
                }
                const AVCodecContext& encoder = *ost.Output->Codec;
                if (ost.EncodingNeeded && (encoder.flags & AV_CODEC_FLAG_PSNR))
                    line += PsnrText(encoder, ost, lastReport);
            } else {
                line += FormatText("q=%2.1f ", static_cast<double>(quality));
            }
        }
        const double time = static_cast<double>(ost.CurrentPts) * ::av_q2d(ost.Output->Stream->time_base);
        if (time > 0 && (currentTime == 0 || time < currentTime)) currentTime = time;
    }
    if (currentTime < 0.01) currentTime = 0.01;
    if (OnProgress || FRun.Verbose > 0 || lastReport) {
        const double size = static_cast<double>(progress.TotalSize);
        progress.BitRate = static_cast<float>(size * 8 / currentTime / 1000);
        progress.CurrentDuration = std::llround(currentTime * 1000000);
        line += FormatText("size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", size / 1024, currentTime,
                           static_cast<double>(progress.BitRate));
        if (FStatistics.DupFrames || FStatistics.DropFrames)
            line += FormatText(" dup=%d drop=%d", FStatistics.DupFrames, FStatistics.DropFrames);
        if (OnProgress) {
            PassSuspendGate();  // a paused worker raises no event until it is resumed
            OnProgress(*this, progress);
        } else if (FRun.Verbose >= 0)
            TFFLogger::Instance().Log(this, llVerbose, line);
    }
    if (lastReport && FRun.Verbose >= 0)
        TFFLogger::Instance().Log(this, llVerbose, RunStatisticsLine(FStatistics, progress.TotalSize));
}

}  // namespace kestrova
