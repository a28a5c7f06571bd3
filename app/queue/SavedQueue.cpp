#include "app/queue/SavedQueue.h"

#include "profiles/options/ProfileChoices.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <array>
#include <concepts>
#include <optional>

namespace kestrova {

namespace {

const QString kFormatKey = QStringLiteral("kestrova-queue");
const QString kRowsKey = QStringLiteral("rows");
const QString kBase64Key = QStringLiteral("base64");
constexpr std::array<const char*, 3> kNormNames{"auto", "pal", "ntsc"};     // by TNorm
constexpr std::array<const char*, 2> kHookModeNames{"external", "custom"};  // by THookMode
// By THookBehaviour.
constexpr std::array<const char*, 3> kHookBehaviourNames{"standard", "beforeHook", "periods"};

// Bytes that are not UTF-8 (a file name in another encoding) would not survive as text.
QJsonValue BytesValue(const std::string& bytes) {
    const QByteArray raw = QByteArray::fromStdString(bytes);
    const QString text = QString::fromUtf8(raw);
    if (text.toUtf8() == raw) return text;
    return QJsonObject{{kBase64Key, QString::fromLatin1(raw.toBase64())}};
}

std::string BytesOf(const QJsonValue& value) {
    if (!value.isObject()) return value.toString().toStdString();
    return QByteArray::fromBase64(value.toObject().value(kBase64Key).toString().toLatin1()).toStdString();
}

// The visitors below see every field of a row by its key, once to write it and once to read
// it, so that the two directions cannot drift apart.
class TFieldWriter {
public:
    QJsonObject Object;

    void operator()(const char* key, const QString& value) { Put(key, value); }
    void operator()(const char* key, const std::string& value) { Put(key, BytesValue(value)); }
    void operator()(const char* key, bool value) { Put(key, value); }
    void operator()(const char* key, float value) { Put(key, static_cast<double>(value)); }
    template <std::integral Integer>
    void operator()(const char* key, Integer value) {
        Put(key, static_cast<qint64>(value));
    }
    // No selection is no member.
    void operator()(const char* key, const std::optional<QString>& value) {
        if (value) Put(key, *value);
    }
    template <class Enumeration, std::size_t Count>
    void Named(const char* key, Enumeration value, const std::array<const char*, Count>& names) {
        Put(key, QLatin1String(names.at(static_cast<std::size_t>(value))));
    }
    template <class Record, class Visit>
    void Nested(const char* key, const Record& record, Visit visit) {
        TFieldWriter inner;
        visit(inner, record);
        Put(key, inner.Object);
    }

private:
    void Put(const char* key, const QJsonValue& value) { Object.insert(QLatin1String(key), value); }
};

class TFieldReader {
public:
    explicit TFieldReader(QJsonObject object) : FObject(std::move(object)) {}

    void operator()(const char* key, QString& value) const {
        if (Has(key)) value = At(key).toString();
    }
    void operator()(const char* key, std::string& value) const {
        if (Has(key)) value = BytesOf(At(key));
    }
    void operator()(const char* key, bool& value) const {
        if (Has(key)) value = At(key).toBool();
    }
    void operator()(const char* key, float& value) const {
        if (Has(key)) value = static_cast<float>(At(key).toDouble());
    }
    template <std::integral Integer>
    void operator()(const char* key, Integer& value) const {
        if (Has(key)) value = static_cast<Integer>(At(key).toInteger());
    }
    void operator()(const char* key, std::optional<QString>& value) const {
        if (Has(key)) value = At(key).toString();
    }
    // An unknown name keeps the default.
    template <class Enumeration, std::size_t Count>
    void Named(const char* key, Enumeration& value, const std::array<const char*, Count>& names) const {
        const QString name = At(key).toString();
        for (std::size_t index = 0; index < Count; ++index)
            if (name == QLatin1String(names[index])) value = static_cast<Enumeration>(index);
    }
    template <class Record, class Visit>
    void Nested(const char* key, Record& record, Visit visit) const {
        if (!At(key).isObject()) return;
        TFieldReader inner(At(key).toObject());
        visit(inner, record);
    }

private:
    bool Has(const char* key) const { return FObject.contains(QLatin1String(key)); }
    QJsonValue At(const char* key) const { return FObject.value(QLatin1String(key)); }

    QJsonObject FObject;
};

// Each Visit names the fields of one record; `Record` is const when writing.
template <class Visitor, class Record>
void VisitFileInfo(Visitor& v, Record& file) {
    v("startTime", file.StartTime);
    v("duration", file.Duration);
    v("bitRate", file.BitRate);
    v("timestamp", file.Timestamp);
    v("year", file.Year);
    v("track", file.Track);
    v("title", file.Title);
    v("author", file.Author);
    v("copyright", file.Copyright);
    v("comment", file.Comment);
    v("album", file.Album);
    v("genre", file.Genre);
}

// The fields an audio and a video stream record share.
template <class Visitor, class Record>
void VisitStreamInfo(Visitor& v, Record& stream) {
    v("language", stream.Language);
    v("codec", stream.CodecName);
    v("startTime", stream.StartTime);
    v("startTimeUs", stream.StartTimeUS);
    v("duration", stream.Duration);
    v("durationUs", stream.DurationUS);
    v("bitRate", stream.BitRate);
}

template <class Visitor, class Record>
void VisitAudioInfo(Visitor& v, Record& audio) {
    VisitStreamInfo(v, audio);
    v("channels", audio.Channels);
    v("sampleRate", audio.SampleRate);
    v("sampleFormat", audio.SampleFormat);
}

template <class Visitor, class Record>
void VisitVideoInfo(Visitor& v, Record& video) {
    VisitStreamInfo(v, video);
    v("height", video.Height);
    v("width", video.Width);
    v("aspectRatio", video.AspectRatio);
    v("pixelFormat", video.PixelFormat);
    v("frameRateNum", video.FrameRateNum);
    v("frameRateDen", video.FrameRateDen);
}

template <class Visitor, class Record>
void VisitSource(Visitor& v, Record& source) {
    v("file", source.FileName);
    v("format", source.FormatName);
    v("size", source.Stamp.Size);
    v("modifiedNs", source.Stamp.ModifiedNs);
    v.Nested("info", source.File, [](auto& inner, auto& file) { VisitFileInfo(inner, file); });
    v.Nested("video", source.Video, [](auto& inner, auto& video) { VisitVideoInfo(inner, video); });
    v.Nested("audio", source.Audio, [](auto& inner, auto& audio) { VisitAudioInfo(inner, audio); });
}

template <class Visitor, class Record>
void VisitFilters(Visitor& v, Record& filters) {
    v("vertFlip", filters.VertFlip);
    v("horiFlip", filters.HoriFlip);
    v("negate", filters.Negate);
    v("scale", filters.Scale);
    v("scaleText", filters.ScaleText);
    v("rotate", filters.Rotate);
    v("rotateText", filters.RotateText);
    v("setPts", filters.SetPts);
    v("setPtsText", filters.SetPtsText);
}

template <class Visitor, class Record>
void VisitBands(Visitor& v, Record& bands) {
    v("top", bands.Top);
    v("bottom", bands.Bottom);
    v("left", bands.Left);
    v("right", bands.Right);
}

template <class Visitor, class Record>
void VisitCropPad(Visitor& v, Record& cropPad) {
    v("crop", cropPad.Crop);
    v.Nested("cropBands", cropPad.CropBands, [](auto& inner, auto& bands) { VisitBands(inner, bands); });
    v("pad", cropPad.Pad);
    v.Nested("padBands", cropPad.PadBands, [](auto& inner, auto& bands) { VisitBands(inner, bands); });
}

template <class Visitor, class Record>
void VisitHooks(Visitor& v, Record& hooks) {
    v.Named("mode", hooks.Mode, kHookModeNames);
    v("imlib2Image", hooks.Imlib2Image);
    v("imageDancing", hooks.ImageDancing);
    v("imlib2Text", hooks.Imlib2Text);
    v("imlib2TextText", hooks.Imlib2TextText);
    v("textScrolling", hooks.TextScrolling);
    v("waterMark", hooks.WaterMark);
    v("waterMarkMode1", hooks.WaterMarkMode1);
    v("demoImage", hooks.DemoImage);
    v("demoText", hooks.DemoText);
    v("demoTextText", hooks.DemoTextText);
    v.Named("behaviour", hooks.Behaviour, kHookBehaviourNames);
    v("periods", hooks.PeriodsText);
}

template <class Visitor, class Record>
void VisitParameters(Visitor& v, Record& parameters) {
    for (std::size_t index = 0; index < kParameterCount; ++index) {
        const auto parameter = static_cast<TParameter>(index);
        v(ParameterName(parameter).toLatin1().constData(), parameters[parameter]);
    }
}

template <class Visitor, class Record>
void VisitChoices(Visitor& v, Record& choices) {
    v("profileFormat", choices.ProfileFormat);
    v("targetProfile", choices.TargetProfile);
    v("extension", choices.Extension);
    v("audioOnlyTarget", choices.AudioOnlyTarget);
    v("videoPreset", choices.VideoPreset);
    v("videoTag", choices.VideoTag);
    v.Nested("parameters", choices.Parameters,
             [](auto& inner, auto& items) { VisitParameters(inner, items); });
    v.Named("norm", choices.Norm, kNormNames);
    v.Named("profileNorm", choices.ProfileNorm, kNormNames);
    v.Nested("source", choices.Source, [](auto& inner, auto& source) { VisitSource(inner, source); });
    v("outputFolder", choices.OutputFolder);
    v.Nested("filters", choices.Filters, [](auto& inner, auto& filters) { VisitFilters(inner, filters); });
    v.Nested("cropPad", choices.CropPad, [](auto& inner, auto& cropPad) { VisitCropPad(inner, cropPad); });
    v("copyTimestamps", choices.CopyTimestamps);
    v.Nested("hooks", choices.Hooks, [](auto& inner, auto& hooks) { VisitHooks(inner, hooks); });
    v.Nested("trim", choices.Trim, [](auto& inner, auto& trim) {
        inner("checked", trim.Checked);
        inner("start", trim.SelectionStart);
        inner("end", trim.SelectionEnd);
    });
}

template <class Visitor, class Record>
void VisitRow(Visitor& v, Record& row) {
    v("status", row.Status);
    v("failure", row.FailureText);
    v("outputDuration", row.OutputDurationText);
    v("outputSize", row.OutputSizeText);
    v("editable", row.Editable);
    v("input", row.InputFileName);
    v("output", row.OutputFileName);
    v("outputOurs", row.OutputOurs);
    v.Nested("profile", row.Profile, [](auto& inner, auto& entry) {
        inner("name", entry.ProfileName);
        inner("describe", entry.DescribeName);
        inner("image", entry.ProfileImage);
        inner("file", entry.ProfileFile);
    });
    v.Nested("choices", row.Choices, [](auto& inner, auto& choices) { VisitChoices(inner, choices); });
}

[[noreturn]] void Refuse(const QString& reason) {
    throw EQueueFile(reason.toStdString());
}

}  // namespace

QByteArray QueueFileText(const TSavedQueue& queue) {
    QJsonArray rows;
    for (const TSavedRow& row : queue.Rows) {
        TFieldWriter writer;
        VisitRow(writer, row);
        rows.append(writer.Object);
    }
    const QJsonObject root{{kFormatKey, kSavedQueueVersion}, {kRowsKey, rows}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

TSavedQueue ParseQueueFile(const QByteArray& text) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        Refuse(QStringLiteral("%1 at byte %2").arg(error.errorString()).arg(error.offset));
    const QJsonObject root = document.object();
    if (!root.value(kFormatKey).isDouble()) Refuse(QStringLiteral("it is not a queue file"));
    const qint64 version = root.value(kFormatKey).toInteger();
    if (version > kSavedQueueVersion)
        Refuse(QStringLiteral("it was written by a newer version of the program (queue version %1)")
                       .arg(version));
    if (!root.value(kRowsKey).isArray()) Refuse(QStringLiteral("it holds no list of rows"));
    TSavedQueue queue;
    for (const QJsonValue& value : root.value(kRowsKey).toArray()) {
        if (!value.isObject()) Refuse(QStringLiteral("a row is not a record"));
        TFieldReader reader(value.toObject());
        VisitRow(reader, queue.Rows.emplace_back());
    }
    return queue;
}

TQueueFileRead ReadQueueFile(const QString& path) {
    TQueueFileRead read;
    QFile file(path);
    if (!file.exists()) return read;
    read.State = TQueueFileState::Damaged;
    if (!file.open(QIODevice::ReadOnly)) {
        read.Error = file.errorString();
        return read;
    }
    try {
        read.Queue = ParseQueueFile(file.readAll());
        read.State = TQueueFileState::Read;
    } catch (const EQueueFile& refused) {
        read.Error = QString::fromStdString(refused.what());
    }
    return read;
}

bool WriteQueueFile(const QString& path, const TSavedQueue& queue, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QueueFileText(queue));
        if (file.commit()) return true;  // commit fails for any write that failed before it
    }
    if (error) *error = file.errorString();
    return false;
}

QString SetDamagedFileAside(const QString& path) {
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = stem;
    for (int number = 1; QFileInfo::exists(aside); ++number) aside = stem + QStringLiteral("-%1").arg(number);
    return QFile::rename(path, aside) ? aside : QString();
}

}  // namespace kestrova
