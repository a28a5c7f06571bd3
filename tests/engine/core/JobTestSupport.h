#pragma once
// Shared fixture of the job tests: the media libraries loaded once, a freshly reset job per
// test, the engine log captured, and a readable description of the job's settings so that a
// test can state "nothing changed" in one comparison.
#include "engine/core/CustomFFmpeg.h"
#include "engine/core/FFmpegException.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "tests/engine/core/ErrorOf.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace kestrova::testing {

struct TCapturedLine {
    TLogLevel Level;
    std::string Text;
};

inline std::string Describe(const AVRational& r) {
    return std::to_string(r.num) + "/" + std::to_string(r.den);
}

// Every setting of the job that an option can change, one "name=value" per line.
inline std::string DescribeJob(const TCustomFFmpeg& job) {
    std::ostringstream out;
    const TPendingVideo& v = job.PendingVideo();
    out << "size=" << v.FrameWidth << "x" << v.FrameHeight << " aspect=" << v.FrameAspectRatio
        << " pix=" << v.PixelFormat << "\npad=" << v.PadTop << "," << v.PadBottom << "," << v.PadLeft << ","
        << v.PadRight << " colour=" << v.PadColor[0] << "," << v.PadColor[1] << "," << v.PadColor[2]
        << "\ncrop=" << v.CropTop << "," << v.CropBottom << "," << v.CropLeft << "," << v.CropRight
        << "\nrate=" << Describe(v.FrameRate) << " qscale=" << v.QScale
        << "\nintra=" << v.IntraMatrix.has_value() << " inter=" << v.InterMatrix.has_value()
        << "\nrc=" << v.RcOverride << " vcodec=" << v.CodecName << " vcopy=" << v.StreamCopy
        << " vn=" << v.Disable << " vdt=" << v.Discard << " vtag=" << v.CodecTag << " vlang=" << v.Language
        << "\nsameq=" << v.SameQuality << " deint=" << v.Deinterlace << " top=" << v.TopFieldFirst
        << " me=" << v.MeThreshold << " dc=" << v.IntraDcPrecision << " intra=" << v.IntraOnly
        << " pass=" << v.Pass << " log=" << v.PassLogFile << " psnr=" << v.Psnr
        << " vglobal=" << v.GlobalHeader << " vc=" << v.Channel << " tvstd=" << v.TvStandard
        << " ffps=" << v.ForceFps << " vfilters=" << v.Filters << "\n";
    const TPendingAudio& a = job.PendingAudio();
    out << "ar=" << a.SampleRate << " ac=" << a.Channels << " layout=" << a.ChannelLayout
        << " sfmt=" << a.SampleFormat << " aq=" << a.QScale << " acodec=" << a.CodecName
        << " acopy=" << a.StreamCopy << " an=" << a.Disable << " atag=" << a.CodecTag
        << " alang=" << a.Language << " vol=" << a.Volume << "\n";
    const TPendingSubtitle& s = job.PendingSubtitle();
    out << "scodec=" << s.CodecName << " scopy=" << s.StreamCopy << " sn=" << s.Disable
        << " stag=" << s.CodecTag << " slang=" << s.Language << "\n";
    const TRunSettings& r = job.RunSettings();
    out << "frames=" << r.MaxFrames[0] << "," << r.MaxFrames[1] << "," << r.MaxFrames[2] << ","
        << r.MaxFrames[3] << " t=" << r.RecordingTime << " ss=" << r.StartTime
        << " stamp=" << r.RecordingTimestamp << " itsoffset=" << r.InputTsOffset << " fs=" << r.LimitFileSize
        << " metadata=" << r.Metadata.size() << "\nflags=" << r.PacketDump << r.HexDump << r.RateEmu
        << r.LoopInput << r.CopyTs << r.Shortest << r.ExitOnError << r.InputSync << r.QpHist << r.PgmYuv
        << " loop=" << r.LoopOutput << " vsync=" << r.VideoSyncMethod << " async=" << r.AudioSyncMethod
        << " drift=" << r.AudioDriftThreshold << " dts=" << r.DtsDeltaThreshold << " prog=" << r.ProgramId
        << " inkf=" << r.CopyInitialNonKeyFrames << " preload=" << r.MuxPreload << " delay=" << r.MuxMaxDelay
        << " verbose=" << r.Verbose << " vstats=" << r.VstatsFileName << "\n";
    const TFileTables& f = job.Files();
    out << "format=" << f.FileFormat << " maps=" << f.NbStreamMaps << " metamaps=" << f.NbMetaDataMaps
        << " inputs=" << f.NbInputFiles << " outputs=" << job.NbOutputFiles() << "\nscale0=";
    for (double scale : f.InputFilesTsScale[0]) out << scale << ",";
    const TBitstreamFilterChains& b = job.BitstreamFilters();
    out << "\nbsf=" << b.Video.size() << "," << b.Audio.size() << "," << b.Subtitle.size()
        << " hooks=" << job.VideoHooks().Count() << " total=" << job.TotalDuration() << "\n";
    return out.str();
}

class JobTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }

    void SetUp() override {
        job.ResetJob();
        TFFLogger& logger = TFFLogger::Instance();
        FSavedLevel = logger.LogLevel();
        logger.SetLogLevel(llInfo);
        logger.TriggerEventInMainThread = false;
        logger.OnLog = [this](const void*, uint32_t, TLogLevel level, const std::string& text) {
            std::lock_guard guard(FLogLock);
            FLines.push_back({level, text});
        };
    }

    void TearDown() override {
        TFFLogger& logger = TFFLogger::Instance();
        logger.OnLog = nullptr;
        logger.SetLogLevel(FSavedLevel);
    }

    std::vector<TCapturedLine> Lines() {
        std::lock_guard guard(FLogLock);
        return FLines;
    }

    // True when a captured line at `level` equals `text`.
    bool Logged(TLogLevel level, const std::string& text) {
        for (const TCapturedLine& line : Lines())
            if (line.Level == level && line.Text == text) return true;
        return false;
    }

    bool LoggedContaining(const std::string& part) {
        for (const TCapturedLine& line : Lines())
            if (line.Text.find(part) != std::string::npos) return true;
        return false;
    }

    TCustomFFmpeg job;

private:
    std::mutex FLogLock;
    std::vector<TCapturedLine> FLines;
    TLogLevel FSavedLevel = llInfo;
};

}  // namespace kestrova::testing
