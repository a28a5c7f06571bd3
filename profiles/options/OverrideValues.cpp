#include "profiles/options/OverrideValues.h"

#include "engine/core/options/PictureLimits.h"
#include "engine/frame/LibBindings.h"
#include "profiles/options/TextNumbers.h"
#include "profiles/store/ValueList.h"

#include <QRegularExpression>

#include <optional>

namespace kestrova {

namespace {

struct TNumberRange {
    const char* Key;
    double Lowest;
    double Highest;
    bool Whole;
    const char* Unit;
};

// Far outside them the encoders refuse the value or the options read it as another one.
constexpr TNumberRange kNumberRanges[] = {
        {"videobitrate", 1, 100000, true, " kbit/s"},
        {"videoframerate", 0.001, 1000, false, " frames/s"},
        {"audiochannel", 1, 8, true, ""},
        {"audiobitrate", 1, 1536, true, " kbit/s"},
        {"audiosamplerate", 1000, 192000, true, " Hz"},
        {"audiovolume", 0, 1000, true, " %"},
};

bool IsAuto(const QString& value) {
    return value.trimmed().compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0;
}

bool IsCandidate(const TProfileDocument& document, const QString& key, const QString& value) {
    for (const QString& item : SplitValues(document.CandidatesValue(key)))
        if (item.compare(value, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString RangeError(const TNumberRange& range, const QString& value) {
    const std::optional<double> number =
            range.Whole ? std::optional<double>(WholeInteger(value)) : WholeDecimal(value);
    if (number && *number >= range.Lowest && *number <= range.Highest) return {};
    return QStringLiteral("%1 from %2 to %3%4 is needed")
            .arg(range.Whole ? QStringLiteral("a whole number") : QStringLiteral("a number"))
            .arg(range.Lowest)
            .arg(range.Highest)
            .arg(QLatin1String(range.Unit));
}

// "640x480" (a " - name" after it as the candidates have), both sides from 2 up.
QString FrameSizeError(const QString& value) {
    static const QRegularExpression size(QStringLiteral("^\\s*(\\d{1,6})[xX](\\d{1,6})(\\s+-.*)?$"));
    const QRegularExpressionMatch match = size.match(value);
    const auto inRange = [&match](int group) {
        const int side = match.captured(group).toInt();
        return side >= 2 && side <= kMaxPictureSide;
    };
    if (match.hasMatch() && inRange(1) && inRange(2)) return {};
    return QStringLiteral("a frame size WxH with sides from 2 to %1 is needed").arg(kMaxPictureSide);
}

QString AspectError(const QString& value) {
    static const QRegularExpression ratio(QStringLiteral("^\\s*([1-9]\\d{0,4}):([1-9]\\d{0,4})\\s*$"));
    const std::optional<double> number = WholeDecimal(value);
    if (ratio.match(value).hasMatch() || (number && *number > 0 && *number <= 100)) return {};
    return QStringLiteral("an aspect ratio W:H or a number above 0 is needed");
}

// The profile's own extensions and those its container's muxer names.
QString ExtensionError(const TProfileDocument& document, const QString& value) {
    const QString extension = (value.startsWith(u'.') ? value.mid(1) : value).trimmed();
    QStringList writable;
    for (const QString& item : document.ExtensionNames()) writable.append(item.trimmed());
    const QByteArray format = document.MainValue(QStringLiteral("fileformat")).trimmed().toUtf8();
    if (!format.isEmpty() && ff::av_guess_format)
        if (const AVOutputFormat* muxer = ff::av_guess_format(format.constData(), nullptr, nullptr);
            muxer && muxer->extensions)
            writable.append(QString::fromUtf8(muxer->extensions).split(u',', Qt::SkipEmptyParts));
    for (QString& item : writable) item = item.toLower();
    writable.removeDuplicates();
    if (!extension.isEmpty() && writable.contains(extension, Qt::CaseInsensitive)) return {};
    return QStringLiteral("the profile's format writes %1").arg(writable.join(QStringLiteral(", ")));
}

QString KindError(const TProfileDocument& document, const QString& key, const QString& value) {
    if (key == QLatin1String("extensionname")) return ExtensionError(document, value);
    if (IsCandidate(document, key, value) || IsAuto(value)) return {};
    if (key == QLatin1String("videosize")) return FrameSizeError(value);
    if (key == QLatin1String("videoaspectratio")) return AspectError(value);
    if (key == QLatin1String("normtype")) return QStringLiteral("Auto, PAL or NTSC is needed");
    for (const TNumberRange& range : kNumberRanges)
        if (key == QLatin1String(range.Key)) return RangeError(range, value);
    // Codec names: an encoder the libraries do not have fails the task that needs it.
    return value.trimmed().isEmpty() ? QStringLiteral("a name is needed") : QString();
}

}  // namespace

QString OverrideValueError(const TProfileDocument& document, const QString& key, const QString& value) {
    const QString reason = KindError(document, key, value);
    if (reason.isEmpty()) return {};
    return QStringLiteral("Invalid value \"%1\" for profile parameter \"%2\": %3.").arg(value, key, reason);
}

}  // namespace kestrova
