// The video fields of the output record.
#include "profiles/options/FieldBuilders.h"

#include "profiles/options/OptionBuilder.h"
#include "profiles/options/TextNumbers.h"

#include <limits>

namespace kestrova {

namespace {

const QLatin1String kAuto{"Auto"};

// "Original" means the same as "Auto"; the comparisons with "Auto" are exact.
QString WithAutoForOriginal(const QString& item) {
    QString text = item;
    return text.replace(QLatin1String("Original"), kAuto, Qt::CaseInsensitive);
}

// "320x240 - qvga" names 320x240: the size ends at the first blank after the first character.
QString SizePart(const QString& item) {
    const qsizetype blank = item.indexOf(u' ', 1);
    return blank < 0 ? item : item.left(blank);
}

// "Auto" keeps the source's size and rate. Without them (a source with no video) the fields
// stay unset, so that an audio source still converts.
void FillFrameSize(const QString& item, const TVideoStreamInfo& video, TOutputOptions& options) {
    const QString size = SizePart(WithAutoForOriginal(item));
    if (size != kAuto)
        options.FrameSize = size.toStdString();
    else if (video.Width > 0 && video.Height > 0)
        options.FrameSize = std::to_string(video.Width) + "x" + std::to_string(video.Height);
}

void FillFrameRate(const QString& item, const TVideoStreamInfo& video, TOutputOptions& options) {
    const QString rate = WithAutoForOriginal(item);
    if (rate != kAuto)
        options.FrameRate = rate.toStdString();
    else if (video.FrameRateNum > 0 && video.FrameRateDen > 0)
        options.FrameRate = std::to_string(video.FrameRateNum) + "/" + std::to_string(video.FrameRateDen);
}

// kbit/s to bit/s; 0 (also "Auto", or a rate the field cannot hold) stands for the source's rate.
int32_t VideoBitrateOf(const QString& item, const TVideoStreamInfo& video) {
    int64_t kbps = IntegerValue(item);
    const int64_t bps = kbps * 1000;
    if (bps > std::numeric_limits<int32_t>::max() || bps < std::numeric_limits<int32_t>::min()) kbps = 0;
    if (kbps == 0) kbps = SourceVideoKbps(video);
    return static_cast<int32_t>(kbps * 1000);
}

// A device profile may name another preset (Baseline or Main pictures for players that decode
// nothing else); a preset for another encoder would make libx264 fail, so only libx264's own
// presets are taken.
std::string Libx264Preset(const QString& profilePreset) {
    if (profilePreset.startsWith(QLatin1String("libx264-"))) return profilePreset.toStdString();
    return "libx264-default";
}

// DivX and Xvid players look for their FourCC; the tag only fits the MPEG-4 Part 2 encoders,
// so another codec chosen in such a profile is written with its own.
bool IsMpeg4Part2(const std::string& codec) {
    return codec == "mpeg4" || codec == "libxvid";
}

// Bands as the engine takes them: a negative band is none.
void SetBands(const TBands& bands, int32_t& top, int32_t& bottom, int32_t& left, int32_t& right) {
    const auto band = [](int value) { return value >= 0 ? value : -1; };
    top = band(bands.Top);
    bottom = band(bands.Bottom);
    left = band(bands.Left);
    right = band(bands.Right);
}

}  // namespace

void FillVideoFields(const TOptionChoices& choices, TOutputOptions& options) {
    const TParameterChoices& items = choices.Parameters;
    const TVideoStreamInfo& video = choices.Source.Video;
    if (const auto& item = items[TParameter::VideoSize]) FillFrameSize(*item, video, options);
    if (const auto& item = items[TParameter::FrameRate]) FillFrameRate(*item, video, options);
    if (const auto& item = items[TParameter::AspectRatio]) {
        const QString aspect = WithAutoForOriginal(*item);
        if (aspect != kAuto) options.AspectRatio = aspect.toStdString();
    }
    if (const auto& item = items[TParameter::VideoBitrate])
        options.VideoBitrate = VideoBitrateOf(*item, video);
    else
        options.VideoBitrate = video.BitRate;
    if (const auto& item = items[TParameter::VideoCodec]) {
        options.VideoCodec = item->toLower().toStdString();
        if (options.VideoCodec == "libx264") options.VideoPreset = Libx264Preset(choices.VideoPreset);
        if (IsMpeg4Part2(options.VideoCodec)) options.VideoTag = choices.VideoTag.toStdString();
    }

    const TCropPadChoices& cropPad = choices.CropPad;
    if (cropPad.Crop)
        SetBands(cropPad.CropBands, options.CropTop, options.CropBottom, options.CropLeft, options.CropRight);
    if (cropPad.Pad)
        SetBands(cropPad.PadBands, options.PadTop, options.PadBottom, options.PadLeft, options.PadRight);
}

}  // namespace kestrova
