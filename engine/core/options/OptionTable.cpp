#include "engine/core/options/OptionTable.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/core/FFmpegException.h"
#include "engine/core/options/OptionParsers.h"
#include "engine/core/options/OptionValues.h"
#include "engine/core/options/PictureLimits.h"
#include "engine/core/options/TimeLimits.h"
#include "engine/core/options/VideoHookPeriods.h"
#include "engine/frame/FFmpegLogger.h"

#include <cmath>
#include <stdexcept>

namespace kestrova {

namespace {

using TJob = TCustomFFmpeg;
using TText = std::string;

void Log(const TJob& job, int level, const std::string& message) {
    TFFLogger::Instance().Log(&job, level, message);
}

// More threads than x264 or the libraries' frame threading would take.
constexpr int kMaxCodecThreads = 64;

void DoNothing(TJob& job, const TText& name, const TText&) {
    Log(job, llInfo, "Do nothing: option - " + name);
}

// A crop or pad band: a whole number no larger than a picture side the libraries take, so that
// bands and sizes added together stay far from the integer limits.
int ParseBandOption(const TText& name, const TText& value) {
    const int band = ParseIntegerOption(name, value);
    if (band > kMaxPictureSide)
        throw FFmpegException("Invalid integer value \"" + value + "\" for option \"" + name + "\"");
    return band;
}

}  // namespace

bool TOptionTable::Apply(TCustomFFmpeg& job, const std::string& name, const std::string& value) {
    for (const TEntry& entry : Entries()) {
        if (name == entry.Name) {
            entry.Apply(job, name, value);
            return true;
        }
    }
    return false;
}

const std::vector<TOptionTable::TEntry>& TOptionTable::Entries() {
    static const std::vector<TEntry> entries = MakeEntries();
    return entries;
}

// Each handler checks its value completely before it changes the job, so a failing option
// leaves the job as it was.
std::vector<TOptionTable::TEntry> TOptionTable::MakeEntries() {
    // "b", "vb", "ab": a bit rate in bits/s; a value that looks like kbit/s is worth a warning.
    const THandler applyBitRate = [](TJob& j, const TText& n, const TText& v) {
        if (!j.SetAVOption(n, v)) return;
        const AVMediaType kind = n == "ab" ? AVMEDIA_TYPE_AUDIO : AVMEDIA_TYPE_VIDEO;
        int64_t bitRate = 0;
        AVCodecContext* context = j.FOptions.CodecDefaults(kind);
        if (context && ff::av_opt_get_int(context, "b", 0, &bitRate) >= 0 && bitRate < 1000)
            Log(j, llWarning,
                "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, "
                "not kbits/s");
    };
    return {
            // Options of a command line that have no meaning for a job.
            {"L", DoNothing},
            {"h", DoNothing},
            {"version", DoNothing},
            {"formats", DoNothing},
            {"codecs", DoNothing},
            {"bsfs", DoNothing},
            {"protocols", DoNothing},
            {"filters", DoNothing},
            {"i", DoNothing},  // inputs are added with AddInputFile
            {"y", DoNothing},
            {"benchmark", DoNothing},
            // The codecs' thread count (0: the libraries decide); a count given here wins over the
            // share of the cores the job would get.
            {"threads",
             [](TJob& j, const TText& n, const TText& v) {
                 const int count = ParseIntegerOption(n, v);
                 if (count < 0 || count > kMaxCodecThreads)
                     throw FFmpegException("Invalid integer value " + QuotedForMessage(v) + " for option \"" +
                                           n + "\"");
                 j.FRun.ThreadCount = count;
                 j.FRun.ThreadCountChosen = true;
             }},
            {"loglevel",
             [](TJob&, const TText& n, const TText& v) {
                 try {
                     TFFLogger::Instance().SetLogLevelFromText(v);
                 } catch (const std::exception&) {  // not a level name, or not a number in range
                     throw FFmpegException("Invalid log level " + QuotedForMessage(v) + " for option \"" + n +
                                           "\"");
                 }
             }},

            // Boolean options.
            {"dump",
             [](TJob& j, const TText&, const TText& v) { j.FRun.PacketDump = ParseBooleanOption(v); }},
            {"hex", [](TJob& j, const TText&, const TText& v) { j.FRun.HexDump = ParseBooleanOption(v); }},
            {"re", [](TJob& j, const TText&, const TText& v) { j.FRun.RateEmu = ParseBooleanOption(v); }},
            {"loop_input",
             [](TJob& j, const TText&, const TText& v) { j.FRun.LoopInput = ParseBooleanOption(v); }},
            {"shortest",
             [](TJob& j, const TText&, const TText& v) { j.FRun.Shortest = ParseBooleanOption(v); }},
            {"intra",
             [](TJob& j, const TText&, const TText& v) { j.FVideo.IntraOnly = ParseBooleanOption(v); }},
            {"vn", [](TJob& j, const TText&, const TText& v) { j.FVideo.Disable = ParseBooleanOption(v); }},
            {"sameq",
             [](TJob& j, const TText&, const TText& v) { j.FVideo.SameQuality = ParseBooleanOption(v); }},
            {"deinterlace",
             [](TJob& j, const TText&, const TText& v) { j.FVideo.Deinterlace = ParseBooleanOption(v); }},
            {"psnr", [](TJob& j, const TText&, const TText& v) { j.FVideo.Psnr = ParseBooleanOption(v); }},
            {"qphist", [](TJob& j, const TText&, const TText& v) { j.FRun.QpHist = ParseBooleanOption(v); }},
            {"force_fps",
             [](TJob& j, const TText&, const TText& v) { j.FVideo.ForceFps = ParseBooleanOption(v); }},
            {"an", [](TJob& j, const TText&, const TText& v) { j.FAudio.Disable = ParseBooleanOption(v); }},
            {"sn",
             [](TJob& j, const TText&, const TText& v) { j.FSubtitle.Disable = ParseBooleanOption(v); }},
            {"isync",
             [](TJob& j, const TText&, const TText& v) { j.FRun.InputSync = ParseBooleanOption(v); }},
            {"copyts", [](TJob& j, const TText&, const TText&) { j.FRun.CopyTs = true; }},
            {"xerror", [](TJob& j, const TText&, const TText&) { j.FRun.ExitOnError = true; }},

            // Integer options.
            {"dframes", [](TJob& j, const TText& n,
                           const TText& v) { j.FRun.MaxFrames[fkData] = ParseIntegerOption(n, v); }},
            {"vframes", [](TJob& j, const TText& n,
                           const TText& v) { j.FRun.MaxFrames[fkVideo] = ParseIntegerOption(n, v); }},
            {"aframes", [](TJob& j, const TText& n,
                           const TText& v) { j.FRun.MaxFrames[fkAudio] = ParseIntegerOption(n, v); }},
            {"loop_output",
             [](TJob& j, const TText& n, const TText& v) { j.FRun.LoopOutput = ParseIntegerOption(n, v); }},
            {"vsync", [](TJob& j, const TText& n,
                         const TText& v) { j.FRun.VideoSyncMethod = ParseIntegerOption(n, v); }},
            {"async", [](TJob& j, const TText& n,
                         const TText& v) { j.FRun.AudioSyncMethod = ParseIntegerOption(n, v); }},
            {"vglobal", [](TJob& j, const TText& n,
                           const TText& v) { j.FVideo.GlobalHeader = ParseIntegerOption(n, v); }},
            {"programid",
             [](TJob& j, const TText& n, const TText& v) { j.FRun.ProgramId = ParseIntegerOption(n, v); }},
            {"copyinkf", [](TJob& j, const TText& n,
                            const TText& v) { j.FRun.CopyInitialNonKeyFrames = ParseIntegerOption(n, v); }},
            {"vdt",
             [](TJob& j, const TText& n, const TText& v) { j.FVideo.Discard = ParseIntegerOption(n, v); }},
            {"top", [](TJob& j, const TText& n,
                       const TText& v) { j.FVideo.TopFieldFirst = ParseIntegerOption(n, v); }},
            {"dc", [](TJob& j, const TText& n,
                      const TText& v) { j.FVideo.IntraDcPrecision = ParseIntegerOption(n, v); }},
            {"me_threshold", [](TJob& j, const TText& n,
                                const TText& v) { j.FVideo.MeThreshold = ParseIntegerOption(n, v); }},
            {"vol",
             [](TJob& j, const TText& n, const TText& v) { j.FAudio.Volume = ParseIntegerOption(n, v); }},
            {"vc",
             [](TJob& j, const TText& n, const TText& v) { j.FVideo.Channel = ParseIntegerOption(n, v); }},
            {"v", [](TJob& j, const TText& n, const TText& v) { j.FRun.Verbose = ParseIntegerOption(n, v); }},
            {"ar",
             [](TJob& j, const TText& n, const TText& v) { j.SetSampleRate(ParseIntegerOption(n, v)); }},
            {"ac", [](TJob& j, const TText& n, const TText& v) { j.SetChannels(ParseIntegerOption(n, v)); }},
            {"fs",
             [](TJob& j, const TText& n, const TText& v) { j.FRun.LimitFileSize = ParseInt64Option(n, v); }},

            // Float options.
            {"adrift_threshold",
             [](TJob& j, const TText& n, const TText& v) {
                 j.FRun.AudioDriftThreshold = static_cast<float>(ParseFloatOption(n, v));
             }},
            {"dts_delta_threshold",
             [](TJob& j, const TText& n, const TText& v) {
                 j.FRun.DtsDeltaThreshold = static_cast<float>(ParseFloatOption(n, v));
             }},
            {"aq", [](TJob& j, const TText& n,
                      const TText& v) { j.FAudio.QScale = static_cast<float>(ParseFloatOption(n, v)); }},
            {"muxdelay",
             [](TJob& j, const TText& n, const TText& v) {
                 j.FRun.MuxMaxDelay = static_cast<float>(
                         ParseBoundedFloatOption(n, v, -kMaxMuxDelaySeconds, kMaxMuxDelaySeconds));
             }},
            {"muxpreload",
             [](TJob& j, const TText& n, const TText& v) {
                 j.FRun.MuxPreload =
                         static_cast<float>(ParseBoundedFloatOption(n, v, -kMaxTimeSeconds, kMaxTimeSeconds));
             }},

            // Text options.
            {"passlogfile", [](TJob& j, const TText&, const TText& v) { j.FVideo.PassLogFile = v; }},
            {"vlang", [](TJob& j, const TText&, const TText& v) { j.FVideo.Language = v; }},
            {"alang", [](TJob& j, const TText&, const TText& v) { j.FAudio.Language = v; }},
            {"slang", [](TJob& j, const TText&, const TText& v) { j.FSubtitle.Language = v; }},
            {"vfilters", [](TJob& j, const TText&, const TText& v) { j.FVideo.Filters = v; }},
            {"rc_override", [](TJob& j, const TText&, const TText& v) { j.FVideo.RcOverride = v; }},
            {"tvstd", [](TJob& j, const TText&, const TText& v) { j.FVideo.TvStandard = v; }},
            {"vstats_file", [](TJob& j, const TText&, const TText& v) { j.FRun.VstatsFileName = v; }},

            // Options with their own handling.
            {"f",
             [](TJob& j, const TText&, const TText& v) {
                 if (v == "pgmyuv") {
                     j.FFiles.FileFormat = "image2";
                     j.FRun.PgmYuv = true;
                     Log(j, llInfo, "pgmyuv format is deprecated, use image2");
                 } else {
                     j.FFiles.FileFormat = v;
                 }
             }},
            {"map",
             [](TJob& j, const TText& n, const TText& v) {
                 const TStreamMap map = ParseStreamMap(n, v);
                 if (j.FFiles.NbStreamMaps >= kMaxStreamMaps)
                     throw FFmpegException("Too many stream maps (at most " + std::to_string(kMaxStreamMaps) +
                                           ")");
                 j.FFiles.StreamMaps[j.FFiles.NbStreamMaps++] = map;
             }},
            {"map_meta_data",
             [](TJob& j, const TText& n, const TText& v) {
                 const TMetaDataMap map = ParseMetaDataMap(n, v);
                 if (j.FFiles.NbMetaDataMaps >= kMaxFiles)
                     throw FFmpegException("Too many meta-data maps (at most " + std::to_string(kMaxFiles) +
                                           ")");
                 j.FFiles.MetaDataMaps[j.FFiles.NbMetaDataMaps++] = map;
             }},
            {"t", [](TJob& j, const TText& n,
                     const TText& v) { j.ApplyRecordingTime(ParseDurationOption(n, v)); }},
            {"ss",
             [](TJob& j, const TText& n, const TText& v) { j.FRun.StartTime = ParseDurationOption(n, v); }},
            {"itsoffset", [](TJob& j, const TText& n,
                             const TText& v) { j.FRun.InputTsOffset = ParseDurationOption(n, v); }},
            {"itsscale",
             [](TJob& j, const TText& n, const TText& v) {
                 const TStreamScale scale = ParseStreamScale(n, v);
                 if (j.FFiles.NbInputFiles >= kMaxFiles)
                     throw FFmpegException("max input files " + std::to_string(kMaxFiles) + " reached");
                 j.FFiles.InputFilesTsScale[j.FFiles.NbInputFiles][scale.StreamIndex] = scale.Scale;
             }},
            {"timestamp",
             [](TJob& j, const TText& n, const TText& v) {
                 j.FRun.RecordingTimestamp =
                         std::llround(static_cast<double>(ParseDateOption(n, v)) / 1000000);
             }},
            {"metadata",
             [](TJob& j, const TText&, const TText& v) {
                 const std::size_t equals = v.find('=');
                 if (equals == std::string::npos) throw FFmpegException("Missing =");
                 j.AddMetadata(v.substr(0, equals), v.substr(equals + 1));
             }},
            {"target", [](TJob& j, const TText&, const TText& v) { j.ApplyTargetOption(v); }},
            {"b", applyBitRate},
            {"vb", applyBitRate},
            {"ab", applyBitRate},
            {"r",
             [](TJob& j, const TText&, const TText& v) {
                 if (v.empty()) throw FFmpegException("Incorrect frame rate");
                 j.SetFrameRate(v);
             }},
            {"s",
             [](TJob& j, const TText&, const TText& v) {
                 if (v.empty()) throw FFmpegException("Incorrect frame size");
                 j.SetFrameSize(v);
             }},
            {"aspect",
             [](TJob& j, const TText&, const TText& v) {
                 if (v.empty()) throw FFmpegException("Incorrect aspect ratio specification.");
                 j.SetAspectRatio(v);
             }},
            {"pix_fmt",
             [](TJob& j, const TText&, const TText& v) {
                 if (v == "list") {
                     for (const std::string& line : PixelFormatList()) Log(j, llInfo, line);
                     return;
                 }
                 if (v.empty()) throw FFmpegException("Unknown pixel format requested: ");
                 j.SetPixelFormat(v);
             }},
            {"sample_fmt",
             [](TJob& j, const TText&, const TText& v) {
                 if (v == "list") {
                     for (const std::string& line : SampleFormatList()) Log(j, llInfo, line);
                     return;
                 }
                 j.FAudio.SampleFormat = ff::av_get_sample_fmt(v.c_str());
             }},
            {"croptop", [](TJob& j, const TText& n, const TText& v) { j.SetCropTop(ParseBandOption(n, v)); }},
            {"cropbottom",
             [](TJob& j, const TText& n, const TText& v) { j.SetCropBottom(ParseBandOption(n, v)); }},
            {"cropleft",
             [](TJob& j, const TText& n, const TText& v) { j.SetCropLeft(ParseBandOption(n, v)); }},
            {"cropright",
             [](TJob& j, const TText& n, const TText& v) { j.SetCropRight(ParseBandOption(n, v)); }},
            {"padtop", [](TJob& j, const TText& n, const TText& v) { j.SetPadTop(ParseBandOption(n, v)); }},
            {"padbottom",
             [](TJob& j, const TText& n, const TText& v) { j.SetPadBottom(ParseBandOption(n, v)); }},
            {"padleft", [](TJob& j, const TText& n, const TText& v) { j.SetPadLeft(ParseBandOption(n, v)); }},
            {"padright",
             [](TJob& j, const TText& n, const TText& v) { j.SetPadRight(ParseBandOption(n, v)); }},
            {"padcolor",
             [](TJob& j, const TText& n, const TText& v) {
                 j.SetPadColor(static_cast<uint32_t>(ParseIntegerOption(n, v)));
             }},
            {"qscale",
             [](TJob& j, const TText& n, const TText& v) {
                 const double scale = ParseFloatOption(n, v);
                 if (scale <= 0 || scale > 255) throw FFmpegException("qscale must be > 0.0 and <= 255");
                 j.FVideo.QScale = static_cast<float>(scale);
             }},
            {"vcodec",
             [](TJob& j, const TText&, const TText& v) { j.ApplyCodecName(AVMEDIA_TYPE_VIDEO, v); }},
            {"acodec",
             [](TJob& j, const TText&, const TText& v) { j.ApplyCodecName(AVMEDIA_TYPE_AUDIO, v); }},
            {"scodec",
             [](TJob& j, const TText&, const TText& v) { j.ApplyCodecName(AVMEDIA_TYPE_SUBTITLE, v); }},
            {"pass",
             [](TJob& j, const TText&, const TText& v) {
                 int64_t pass = 0;
                 if (!TryParseInteger(v, pass) || (pass != 1 && pass != 2))
                     throw FFmpegException("pass number can be only 1 or 2");
                 j.FVideo.Pass = static_cast<int>(pass);
             }},
            {"vstats", [](TJob& j, const TText&, const TText&) { j.SetVstatsFileFromClock(); }},
            {"vhook", [](TJob& j, const TText&, const TText& v) { j.AddVideoHook(v); }},
            {"vhookperiods",
             [](TJob& j, const TText& n, const TText& v) {
                 std::optional<TVideoHookPeriods> periods = TVideoHookPeriods::Parse(v);
                 if (!periods)
                     throw FFmpegException("Invalid value " + QuotedForMessage(v) + " for option \"" + n +
                                           "\"");
                 j.FRun.VideoHookPeriods = std::move(*periods);
             }},
            {"intra_matrix",
             [](TJob& j, const TText&, const TText& v) { j.FVideo.IntraMatrix = ParseQuantMatrix(v); }},
            {"inter_matrix",
             [](TJob& j, const TText&, const TText& v) { j.FVideo.InterMatrix = ParseQuantMatrix(v); }},
            {"vtag", [](TJob& j, const TText&, const TText& v) { j.ApplyCodecTag(AVMEDIA_TYPE_VIDEO, v); }},
            {"atag", [](TJob& j, const TText&, const TText& v) { j.ApplyCodecTag(AVMEDIA_TYPE_AUDIO, v); }},
            {"stag",
             [](TJob& j, const TText&, const TText& v) { j.ApplyCodecTag(AVMEDIA_TYPE_SUBTITLE, v); }},
            {"newvideo",
             [](TJob& j, const TText& n, const TText&) { j.AddNewStreamOption(n, AVMEDIA_TYPE_VIDEO); }},
            {"newaudio",
             [](TJob& j, const TText& n, const TText&) { j.AddNewStreamOption(n, AVMEDIA_TYPE_AUDIO); }},
            {"newsubtitle",
             [](TJob& j, const TText& n, const TText&) { j.AddNewStreamOption(n, AVMEDIA_TYPE_SUBTITLE); }},
            {"absf", [](TJob& j, const TText&,
                        const TText& v) { AppendBitstreamFilter(j.FBitstreamFilters.Audio, v); }},
            {"vbsf", [](TJob& j, const TText&,
                        const TText& v) { AppendBitstreamFilter(j.FBitstreamFilters.Video, v); }},
            {"sbsf", [](TJob& j, const TText&,
                        const TText& v) { AppendBitstreamFilter(j.FBitstreamFilters.Subtitle, v); }},
            {"apre", [](TJob& j, const TText& n, const TText& v) { j.ApplyPresetOption(n, v); }},
            {"vpre", [](TJob& j, const TText& n, const TText& v) { j.ApplyPresetOption(n, v); }},
            {"spre", [](TJob& j, const TText& n, const TText& v) { j.ApplyPresetOption(n, v); }},
            {"fpre", [](TJob& j, const TText& n, const TText& v) { j.ApplyPresetOption(n, v); }},
    };
}

}  // namespace kestrova
