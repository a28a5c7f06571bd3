#include "profiles/dialog/PreviewTexts.h"

#include <QLatin1String>

namespace kestrova {

namespace {

constexpr int64_t kMicrosecondsPerSecond = 1000000;
constexpr int kTrackEnds = 12;
constexpr int kPixelsPerTick = 10;

}  // namespace

QString SecondsText(int64_t microseconds) {
    return QString::asprintf("%lld.%.3lld", static_cast<long long>(microseconds / kMicrosecondsPerSecond),
                             static_cast<long long>((microseconds / 1000) % 1000));
}

QString HmsText(int64_t microseconds) {
    const long long seconds = microseconds / kMicrosecondsPerSecond;
    return QString::asprintf("%lld:%02lld:%02lld", seconds / 3600, (seconds % 3600) / 60, seconds % 60);
}

QString DurationText(int64_t microseconds) {
    return HmsText(microseconds) +
           QString::asprintf(".%03lld", static_cast<long long>((microseconds / 1000) % 1000));
}

QString FrameRateText(int32_t numerator, int32_t denominator) {
    if (numerator <= 0 || denominator <= 0) return QStringLiteral("N/A");
    if (numerator % denominator == 0) return QString::number(numerator / denominator);
    QString text = QString::number(static_cast<double>(numerator) / denominator, 'f', 2);
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    return text;
}

QString ChannelsText(int32_t channels) {
    switch (channels) {
        case 0:
            return QStringLiteral("Auto");
        case 1:
            return QStringLiteral("Mono");
        case 2:
            return QStringLiteral("Stereo");
        default:
            return channels > 2 ? QString::number(channels) : QStringLiteral("N/A");
    }
}

TTrackScale TrackScaleFor(int64_t durationMicroseconds) {
    TTrackScale scale;
    if (durationMicroseconds <= 0) return scale;
    while (durationMicroseconds / scale.StepMicroseconds > kTrackUnitLimit) scale.StepMicroseconds *= 10;
    scale.Maximum = static_cast<int>(durationMicroseconds / scale.StepMicroseconds);
    return scale;
}

int TrackLineSize(int maximum) {
    if (maximum <= 100) return 1;
    if (maximum <= 1000) return 10;
    if (maximum <= 10000) return 100;
    return 1000;
}

int TrackTickInterval(int maximum, int trackWidth) {
    const int ticks = (trackWidth - kTrackEnds) / kPixelsPerTick;
    if (ticks <= 0 || maximum <= 0) return 0;
    return std::max(maximum / ticks, 1);
}

}  // namespace kestrova
