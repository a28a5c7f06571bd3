// The queue's own file: every field of a row comes back from it, and a file cut short is set
// aside instead of read.
#include "app/queue/SavedQueue.h"
#include "tests/support/TestMedia.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace kestrova {
namespace {

std::string RowText(const TSavedRow& row) {
    return QueueFileText(TSavedQueue{{row}}).toStdString();
}

// One field set to a value unlike its default, named as it is set.
// clang-format off
#define FIELD(...) {#__VA_ARGS__, [](TSavedRow& r) { r.__VA_ARGS__; }}
// clang-format on

TEST(SavedQueueTest, EveryFieldOfEveryRowComesBackFromTheFile) {
    const std::vector<std::pair<const char*, std::function<void(TSavedRow&)>>> fields = {
            FIELD(Status = "Completed"),
            FIELD(FailureText = "Broken pipe\n\"quoted\"\t\x01"),
            FIELD(OutputDurationText = "00:01:02"),
            FIELD(OutputSizeText = "1.50MB"),
            FIELD(Editable = false),
            FIELD(InputFileName = QString::fromUtf8("/v/clïp.flv")),
            FIELD(OutputFileName = "/o/clip_(new).mp4"),
            FIELD(OutputOurs = true),
            FIELD(Profile.ProfileName = "iPod(*.mp4)"),
            FIELD(Profile.DescribeName = "a#13#10b"),
            FIELD(Profile.ProfileImage = "ipod.png"),
            FIELD(Profile.ProfileFile = "userdefined/mine.xml"),
            FIELD(Choices.ProfileFormat = "ipod"),
            FIELD(Choices.TargetProfile = "psp"),
            FIELD(Choices.Extension = "m4v"),
            FIELD(Choices.AudioOnlyTarget = true),
            FIELD(Choices.VideoPreset = "slow"),
            FIELD(Choices.VideoTag = "XVID"),
            FIELD(Choices.Parameters[TParameter::VideoSize] = "320x240 - qvga"),
            FIELD(Choices.Parameters[TParameter::VideoCodec] = "libx264"),
            FIELD(Choices.Parameters[TParameter::AudioChannels] = "1"),
            FIELD(Choices.Parameters[TParameter::AudioCodec] = ""),  // an empty item is a selection
            // (the ten parameters are one loop over their names: its first, its last and two between)
            FIELD(Choices.Norm = TNorm::Pal),
            FIELD(Choices.ProfileNorm = TNorm::Ntsc),
            FIELD(Choices.Source.FileName = "/v/\xff\xfe raw.flv"),  // not UTF-8
            FIELD(Choices.Source.FormatName = "flv"),
            FIELD(Choices.Source.Stamp.Size = 5'000'000'000),
            FIELD(Choices.Source.Stamp.ModifiedNs = std::numeric_limits<int64_t>::max() - 1),
            FIELD(Choices.Source.File.StartTime = 1),
            FIELD(Choices.Source.File.Duration = 2),
            FIELD(Choices.Source.File.BitRate = 3),
            FIELD(Choices.Source.File.Timestamp = 4),
            FIELD(Choices.Source.File.Year = 5),
            FIELD(Choices.Source.File.Track = 6),
            FIELD(Choices.Source.File.Title = "t"),
            FIELD(Choices.Source.File.Author = "a"),
            FIELD(Choices.Source.File.Copyright = "c"),
            FIELD(Choices.Source.File.Comment = "m"),
            FIELD(Choices.Source.File.Album = "l"),
            FIELD(Choices.Source.File.Genre = "g"),
            FIELD(Choices.Source.Video.Language = "eng"),
            FIELD(Choices.Source.Video.CodecName = "flv1"),
            FIELD(Choices.Source.Video.StartTime = 7),
            FIELD(Choices.Source.Video.StartTimeUS = 8),
            FIELD(Choices.Source.Video.Duration = 9),
            FIELD(Choices.Source.Video.DurationUS = 10),
            FIELD(Choices.Source.Video.BitRate = 11),
            FIELD(Choices.Source.Video.Height = 12),
            FIELD(Choices.Source.Video.Width = 13),
            FIELD(Choices.Source.Video.AspectRatio = 1.7777778f),
            FIELD(Choices.Source.Video.PixelFormat = 14),
            FIELD(Choices.Source.Video.FrameRateNum = 30000),
            FIELD(Choices.Source.Video.FrameRateDen = 1001),
            FIELD(Choices.Source.Audio.Language = "ger"),
            FIELD(Choices.Source.Audio.CodecName = "mp3"),
            FIELD(Choices.Source.Audio.StartTime = 15),
            FIELD(Choices.Source.Audio.StartTimeUS = 16),
            FIELD(Choices.Source.Audio.Duration = 17),
            FIELD(Choices.Source.Audio.DurationUS = 18),
            FIELD(Choices.Source.Audio.BitRate = 19),
            FIELD(Choices.Source.Audio.Channels = 6),
            FIELD(Choices.Source.Audio.SampleRate = 48000),
            FIELD(Choices.Source.Audio.SampleFormat = 20),
            FIELD(Choices.OutputFolder = "/o/"),
            FIELD(Choices.Filters.VertFlip = true),
            FIELD(Choices.Filters.HoriFlip = true),
            FIELD(Choices.Filters.Negate = true),
            FIELD(Choices.Filters.Scale = true),
            FIELD(Choices.Filters.ScaleText = "640:480"),
            FIELD(Choices.Filters.Rotate = true),
            FIELD(Choices.Filters.RotateText = "90"),
            FIELD(Choices.Filters.SetPts = true),
            FIELD(Choices.Filters.SetPtsText = "2*PTS"),
            FIELD(Choices.CropPad.Crop = true),
            FIELD(Choices.CropPad.CropBands = TBands{1, 2, 3, 4}),
            FIELD(Choices.CropPad.Pad = true),
            FIELD(Choices.CropPad.PadBands = TBands{5, 6, 7, 8}),
            FIELD(Choices.CopyTimestamps = true),
            FIELD(Choices.Hooks.Mode = THookMode::Custom),
            FIELD(Choices.Hooks.Imlib2Image = true),
            FIELD(Choices.Hooks.ImageDancing = true),
            FIELD(Choices.Hooks.Imlib2Text = true),
            FIELD(Choices.Hooks.Imlib2TextText = "hello"),
            FIELD(Choices.Hooks.TextScrolling = true),
            FIELD(Choices.Hooks.WaterMark = true),
            FIELD(Choices.Hooks.WaterMarkMode1 = true),
            FIELD(Choices.Hooks.DemoImage = true),
            FIELD(Choices.Hooks.DemoText = true),
            FIELD(Choices.Hooks.DemoTextText = "demo"),
            FIELD(Choices.Hooks.Behaviour = THookBehaviour::Periods),
            FIELD(Choices.Hooks.PeriodsText = "1-2"),
            FIELD(Choices.Trim.Checked = true),
            FIELD(Choices.Trim.SelectionStart = 1'500'000),
            FIELD(Choices.Trim.SelectionEnd = 9'000'000'000),
    };
    TSavedQueue queue;
    for (const auto& field : fields) field.second(queue.Rows.emplace_back());
    const QString path = QString::fromStdString(testmedia::TempDir("saved_queue_fields")) + "/queue.json";
    QString error;
    ASSERT_TRUE(WriteQueueFile(path, queue, &error)) << error.toStdString();
    const TQueueFileRead read = ReadQueueFile(path);
    ASSERT_EQ(read.State, TQueueFileState::Read) << read.Error.toStdString();
    ASSERT_EQ(read.Queue.Rows.size(), fields.size());
    const std::string plain = RowText(TSavedRow{});
    for (std::size_t row = 0; row < fields.size(); ++row) {
        SCOPED_TRACE(fields[row].first);
        EXPECT_NE(RowText(queue.Rows[row]), plain) << "the field is written";
        EXPECT_EQ(RowText(read.Queue.Rows[row]), RowText(queue.Rows[row])) << "and read back, in its row";
    }
}

TEST(SavedQueueTest, AFileCutShortIsSetAsideAndNeverRead) {
    const QString folder = QString::fromStdString(testmedia::TempDir("saved_queue_cut"));
    TSavedRow row;
    row.InputFileName = "/v/clip.flv";
    const QByteArray whole = QueueFileText(TSavedQueue{{row, row}});
    for (const qsizetype length : {qsizetype{0}, qsizetype{1}, whole.size() / 2, whole.size() - 2}) {
        SCOPED_TRACE(length);
        const QString path = folder + QStringLiteral("/queue%1.json").arg(length);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(whole.left(length));
        file.close();
        const TQueueFileRead read = ReadQueueFile(path);
        EXPECT_EQ(read.State, TQueueFileState::Damaged);
        EXPECT_FALSE(read.Error.isEmpty());
        const QString aside = SetDamagedFileAside(path);
        EXPECT_TRUE(aside.startsWith(path + ".damaged-")) << aside.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path));
        EXPECT_EQ(QFileInfo(aside).size(), length) << "kept as it was for the user";
    }
}

}  // namespace
}  // namespace kestrova
