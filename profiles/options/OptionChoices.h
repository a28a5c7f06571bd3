#pragma once
// What a row's conversion options are made of: the loaded profile's values, the item chosen
// for each of its ten parameters, the probed source, the folders and the further controls
// (filters, crop and pad, norm, hooks, trim). The options dialog fills it from its widgets, the
// command line from a profile's defaults; the option builder turns it into engine records.
#include "engine/frame/ProbeStreamInfo.h"

#include <QLatin1String>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrova {

// The ten parameters a profile offers, in the order of the profile store's
// kSelectableParameters ("videosize" ... "audiocodec").
enum class TParameter {
    VideoSize,
    VideoBitrate,
    FrameRate,
    AspectRatio,
    VideoCodec,
    AudioChannels,
    AudioBitrate,
    AudioSampleRate,
    AudioVolume,
    AudioCodec,
};
inline constexpr std::size_t kParameterCount = 10;

// The item chosen for each parameter; nullopt when nothing is selected (a profile default
// that is none of its candidates selects nothing).
class TParameterChoices {
public:
    const std::optional<QString>& operator[](TParameter parameter) const {
        return FItems[static_cast<std::size_t>(parameter)];
    }
    std::optional<QString>& operator[](TParameter parameter) {
        return FItems[static_cast<std::size_t>(parameter)];
    }

private:
    std::array<std::optional<QString>, kParameterCount> FItems;
};

// A file's size and modification time when it was looked at: a file that no longer matches
// its stamp has been changed (or replaced) since.
struct TFileStamp {
    int64_t Size = -1;       // bytes; -1: the file could not be looked at
    int64_t ModifiedNs = 0;  // nanoseconds of the file system's clock

    bool operator==(const TFileStamp&) const = default;
};

// The source as the probe opened it. Stream records keep the probe's -1 for anything the
// file does not give, which is also what they hold when the source has no such stream.
struct TSourceInfo {
    std::string FileName;    // exactly as the probe opened it (bytes of the path, kept as they are)
    std::string FormatName;  // the container format forced when opening; empty when detected
    TFileStamp Stamp;        // the file as it was when probed
    TFileStreamInfo File;
    TVideoStreamInfo Video;  // the first video stream
    TAudioStreamInfo Audio;  // the first audio stream
};

struct TVideoFilterChoices {
    bool VertFlip = false;
    bool HoriFlip = false;
    bool Negate = false;
    bool Scale = false;
    QString ScaleText = QStringLiteral("320:240");
    bool Rotate = false;
    QString RotateText = QStringLiteral("45");  // degrees
    bool SetPts = false;
    QString SetPtsText = QStringLiteral("0.5*PTS");
};

struct TBands {
    int Top = 0;
    int Bottom = 0;
    int Left = 0;
    int Right = 0;
};

struct TCropPadChoices {
    bool Crop = false;
    TBands CropBands;
    bool Pad = false;
    TBands PadBands;
};

// The TV norm, numbered as the output record's TargetNorm.
enum class TNorm { Auto = 0, Pal = 1, Ntsc = 2 };

// External hooks are modules run by the engine; the custom hook is the host's own per-frame
// event instead.
enum class THookMode { External, Custom };

// When the external hooks run: on every picture (also with the before-hook event), or only in
// the typed periods of the output's timeline.
enum class THookBehaviour { Standard, BeforeHook, Periods };

struct THookChoices {
    THookMode Mode = THookMode::External;
    bool Imlib2Image = false;
    bool ImageDancing = false;
    bool Imlib2Text = false;
    QString Imlib2TextText = QStringLiteral("Kestrova");
    bool TextScrolling = false;
    bool WaterMark = false;
    bool WaterMarkMode1 = false;
    bool DemoImage = false;
    bool DemoText = false;
    QString DemoTextText = QStringLiteral("Kestrova");
    THookBehaviour Behaviour = THookBehaviour::Standard;
    QString PeriodsText = QStringLiteral("0-5000,10000-15000");  // milliseconds; empty: the whole duration
};

// The marked part of the source, in microseconds of its timeline (track position x step).
struct TTrimChoice {
    bool Checked = false;  // "Cut Clip"
    int64_t SelectionStart = 0;
    int64_t SelectionEnd = 0;
};

// The output folder text that puts each output beside its source.
inline constexpr QLatin1String kSameAsInput{"<same as input>"};

struct TOptionChoices {
    // From the loaded profile.
    QString ProfileFormat;  // `fileformat`
    QString TargetProfile;  // `targetprofile`
    QString Extension;      // the first of the profile's extensions, without a dot
    bool AudioOnlyTarget = false;
    QString VideoPreset;  // `videopreset`: the engine preset libx264 encodes with; empty: its default
    QString VideoTag;     // `videotag`: the FourCC an MPEG-4 Part 2 stream is marked with ("DIVX", "XVID")
    TParameterChoices Parameters;
    TNorm Norm = TNorm::Auto;         // the norm chosen
    TNorm ProfileNorm = TNorm::Auto;  // the norm the profile itself names (`normtype`'s default)

    TSourceInfo Source;
    QString ProgramFolder;                // the modules are looked for in its "vhook/"
    QString OutputFolder = kSameAsInput;  // a folder, or kSameAsInput (an empty text means the same)

    TVideoFilterChoices Filters;
    TCropPadChoices CropPad;
    bool CopyTimestamps = false;
    THookChoices Hooks;
    TTrimChoice Trim;
};

}  // namespace kestrova
