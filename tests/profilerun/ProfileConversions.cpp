#include "tests/profilerun/ProfileConversions.h"

#include "engine/frame/AVProbe.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/MainThread.h"
#include "engine/front/FFmpegEngine.h"
#include "profiles/options/OptionBuilder.h"
#include "profiles/options/SourceFromProbe.h"
#include "profiles/store/GroupList.h"
#include "profiles/store/ProfileDocument.h"
#include "profiles/store/StorePaths.h"
#include "tests/engine/front/EngineTestSupport.h"
#include "tests/support/TestMedia.h"

#include <atomic>
#include <cmath>
#include <mutex>
#include <set>
#include <stdexcept>

namespace kestrova::test {

QString ProgramFolder() {
    return QStringLiteral(KESTROVA_PROGRAM_DIR);
}

std::vector<std::string> BuiltInProfileFiles() {
    std::vector<std::string> files;
    std::set<QString> seen;
    for (const TProfileGroup& group : BuiltInGroupList().Groups)
        for (const TProfileEntry& entry : group.Profiles)
            if (seen.insert(entry.ProfileFile).second) files.push_back(entry.ProfileFile.toStdString());
    return files;
}

TConversion Conversion(std::string name, TOptionChoices choices) {
    TConversion conversion;
    conversion.Name = std::move(name);
    conversion.Choices = std::move(choices);
    return conversion;
}

TOptionChoices ProfileChoicesFor(const std::string& profileFile, const TParameterOverrides& overrides,
                                 const TSourceInfo& source, const QString& outputFolder) {
    TProfileDocument document;
    QString error;
    if (!document.Load(TStorePaths(ProgramFolder()).ProfilePath(QString::fromStdString(profileFile)), &error))
        throw std::runtime_error(error.toStdString());
    TOptionChoices choices;
    if (!FillChoicesFromProfile(document, overrides, choices, &error))
        throw std::runtime_error(error.toStdString());
    choices.Source = source;
    choices.ProgramFolder = ProgramFolder();
    choices.OutputFolder = outputFolder;
    return choices;
}

TSourceInfo ClipSource(double seconds, int width, int height) {
    if (!LoadMediaLibraries()) throw std::runtime_error(TFFmpegLoader::Instance().LastError());
    testmedia::ClipSpec spec;
    spec.format = "flv";
    spec.duration = seconds;
    spec.width = width;
    spec.height = height;
    TAVProbe probe;
    if (!probe.LoadFile(testmedia::Clip(spec))) throw std::runtime_error(probe.LastErrMsg());
    return SourceFromProbe(probe);
}

void ConvertAll(std::vector<TConversion>& conversions) {
    if (!LoadMediaLibraries()) throw std::runtime_error(TFFmpegLoader::Instance().LastError());
    MainThread::SetCurrentAsMain();
    TFFmpegEngine engine;
    for (TConversion& conversion : conversions) {
        conversion.Output = BuildOutputOptions(conversion.Choices);
        TInputOptions input = BuildInputOptions(conversion.Choices);
        const int index = engine.AddTask(input.FileName, &input);
        if (index < 0 || !engine.SetOutputFile(index, conversion.Output.FileName, &conversion.Output))
            throw std::runtime_error(conversion.Name + ": " + engine.LastErrMsg());
    }
    std::mutex lock;
    std::atomic<bool> allDone{false};
    engine.OnTerminate = [&](TCustomFFmpegEngine&, const TTerminateInfo& info) {
        if (info.TaskIndex < 0) {
            allDone = true;
            return;
        }
        std::lock_guard guard(lock);
        TConversion& conversion = conversions.at(static_cast<std::size_t>(info.TaskIndex));
        conversion.Finished = info.Finished && !info.Exception;
        conversion.Error = info.Exception ? info.ExceptionMsg : info.Finished ? "" : "stopped";
    };
    engine.StartTask(2);
    MainThread::WaitUntil([&] { return allDone.load(); });
    engine.OnTerminate = nullptr;
}

namespace {

// "WxH" as two numbers; {-1, -1} when the text is not a size.
std::pair<int, int> SizeOf(const std::string& text) {
    int width = -1, height = -1;
    if (std::sscanf(text.c_str(), "%dx%d", &width, &height) != 2) return {-1, -1};
    return {width, height};
}

template <class T>
void Compare(std::string& mismatch, const char* what, T expected, T actual) {
    if (expected == actual) return;
    mismatch += std::string(what) + " " + std::to_string(actual) + " instead of " + std::to_string(expected) +
                "; ";
}

// The container's duration; for containers that give none (SWF), the longest stream's packets.
double OutputSeconds(TAVProbe& probe, const std::string& fileName) {
    const int64_t duration = probe.GetFileStreamInfo().Duration;
    if (duration > 0) return static_cast<double>(duration) / 1e6;
    double longest = 0;
    for (const testing::TReadBackStream& stream : testing::ReadBack(fileName).Streams)
        longest = std::max(longest, stream.Seconds);
    return longest;
}

// What the first video stream is marked with in the file: its codec's profile and its FourCC.
struct TVideoMarks {
    int Profile = -1;
    uint32_t Tag = 0;
};

TVideoMarks VideoMarksOf(const std::string& fileName) {
    AVFormatContext* raw = nullptr;
    if (ff::avformat_open_input(&raw, fileName.c_str(), nullptr, nullptr) < 0) return {};
    InputFormatPtr input(raw);
    if (ff::avformat_find_stream_info(raw, nullptr) < 0) return {};
    for (unsigned i = 0; i < raw->nb_streams; ++i)
        if (const AVCodecParameters* video = raw->streams[i]->codecpar;
            video->codec_type == AVMEDIA_TYPE_VIDEO)
            return {video->profile, video->codec_tag};
    return {};
}

// A device preset gives the pictures the device decodes, Baseline (or its constrained form) or
// Main; a tag is the FourCC the file carries.
void CompareVideoMarks(std::string& mismatch, const TOutputOptions& output) {
    const TVideoMarks marks = VideoMarksOf(output.FileName);
    if (output.VideoPreset == "libx264-baseline" && marks.Profile != FF_PROFILE_H264_BASELINE &&
        marks.Profile != FF_PROFILE_H264_CONSTRAINED_BASELINE)
        mismatch += "H.264 profile " + std::to_string(marks.Profile) + " instead of Baseline; ";
    if (output.VideoPreset == "libx264-main" && marks.Profile != FF_PROFILE_H264_MAIN)
        mismatch += "H.264 profile " + std::to_string(marks.Profile) + " instead of Main; ";
    if (output.VideoTag.size() == 4) {
        const std::string& tag = output.VideoTag;
        Compare(mismatch, "video tag", MKTAG(tag[0], tag[1], tag[2], tag[3]), marks.Tag);
    }
}

}  // namespace

std::string OutputMismatch(const TConversion& conversion, double seconds) {
    const TOutputOptions& output = conversion.Output;
    TAVProbe probe;
    if (!probe.LoadFile(output.FileName)) return "the output does not open: " + probe.LastErrMsg();
    std::string mismatch;
    Compare(mismatch, "video streams", output.DisableVideo ? 0 : 1, probe.VideoStreamCount());
    Compare(mismatch, "audio streams", 1, probe.AudioStreamCount());
    if (!output.DisableVideo && probe.VideoStreamCount() > 0) {
        const TVideoStreamInfo video = probe.GetVideoStreamInfo();
        const auto [width, height] = SizeOf(output.FrameSize);
        Compare(mismatch, "width", width, video.Width);
        Compare(mismatch, "height", height, video.Height);
        CompareVideoMarks(mismatch, output);
    }
    if (probe.AudioStreamCount() > 0) {
        const TAudioStreamInfo audio = probe.GetAudioStreamInfo();
        Compare(mismatch, "sample rate", output.AudioSampleRate, audio.SampleRate);
        const int channels =
                output.AudioChannels > 0 ? output.AudioChannels : conversion.Choices.Source.Audio.Channels;
        Compare(mismatch, "channels", channels, audio.Channels);
    }
    if (seconds > 0) {
        const double duration = OutputSeconds(probe, output.FileName);
        if (std::fabs(duration - seconds) > 0.2)
            mismatch += "duration " + std::to_string(duration) + " s instead of " + std::to_string(seconds) +
                        " s; ";
    }
    return mismatch;
}

}  // namespace kestrova::test
