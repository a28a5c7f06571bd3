// The audio fields of the output record.
#include "profiles/options/FieldBuilders.h"

#include "profiles/options/TextNumbers.h"

#include <limits>
#include <optional>

namespace kestrova {

namespace {

constexpr int32_t kFallbackSampleRate = 22050;
constexpr int32_t kFallbackAudioBitrate = 64000;  // bit/s
constexpr int32_t kUnchangedVolume = 256;

bool FitsField(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

// n / d rounded to the nearest integer, halves to the even one (d > 0).
int64_t DivideRoundingHalfToEven(int64_t n, int64_t d) {
    int64_t quotient = n / d;
    int64_t remainder = n % d;
    if (remainder < 0) {  // floor division, so that the remainder is never negative
        quotient -= 1;
        remainder += d;
    }
    if (2 * remainder > d || (2 * remainder == d && quotient % 2 != 0)) quotient += 1;
    return quotient;
}

// The channel count of an item. Numbers count as they read. The engine keeps the source's
// channels for 0 (it applies only counts above 0), so "Auto" and any other word pass 0;
// "Mono" and "Stereo" are counts, though, and pass 1 and 2.
int32_t ChannelCount(const QString& item) {
    const QString word = item.trimmed();
    if (word.compare(QLatin1String("Mono"), Qt::CaseInsensitive) == 0) return 1;
    if (word.compare(QLatin1String("Stereo"), Qt::CaseInsensitive) == 0) return 2;
    return IntegerValue(item);
}

// The volume of a percentage: 256 is unchanged. The engine applies every volume from 0 up, 0
// silencing the audio, so a typed 0 passes 0; an item without a number ("Auto") is no choice
// and leaves the field unset, the audio unchanged.
std::optional<int32_t> VolumeOf(const QString& item) {
    if (!HasIntegerValue(item)) return std::nullopt;
    const int64_t volume = DivideRoundingHalfToEven(int64_t{IntegerValue(item)} * kUnchangedVolume, 100);
    if (!FitsField(volume)) return std::nullopt;
    return static_cast<int32_t>(volume);
}

// kbit/s text to bit/s, fractions truncated; the fallback for a text that is not a number
// (or names a rate the field cannot hold).
int32_t AudioBitrateOf(const QString& item) {
    const std::optional<double> kbps = WholeDecimal(item);
    if (!kbps) return kFallbackAudioBitrate;
    const double bps = *kbps * 1000;
    if (!(bps > std::numeric_limits<int32_t>::min() - 1.0 && bps < std::numeric_limits<int32_t>::max() + 1.0))
        return kFallbackAudioBitrate;
    return static_cast<int32_t>(bps);  // truncates toward zero
}

}  // namespace

void FillAudioFields(const TOptionChoices& choices, TOutputOptions& options) {
    const TParameterChoices& items = choices.Parameters;
    if (const auto& item = items[TParameter::AudioChannels]) options.AudioChannels = ChannelCount(*item);
    if (const auto& item = items[TParameter::AudioSampleRate])
        options.AudioSampleRate = WholeInteger(*item).value_or(kFallbackSampleRate);
    if (const auto& item = items[TParameter::AudioVolume])
        if (const std::optional<int32_t> volume = VolumeOf(*item)) options.Volume = *volume;
    if (const auto& item = items[TParameter::AudioBitrate])
        options.AudioBitrate = AudioBitrateOf(*item);
    else
        options.AudioBitrate = choices.Source.Audio.BitRate;
    if (const auto& item = items[TParameter::AudioCodec]) options.AudioCodec = item->toLower().toStdString();
}

}  // namespace kestrova
