// The dialog's preview and trim over generated clips opened by the engine's probe: the picture
// shown is the one at the chosen time (its frame number read back from what the widget drew),
// a drag decodes only for its last position, the marked part becomes the records' start and
// duration, and the media information shows what the probe found. A dialog rebuilt from a saved
// row's choices gives them back as its own.
#include "app/queue/SavedQueue.h"
#include "engine/frame/AVProbe.h"
#include "engine/frame/FFmpegLoader.h"
#include "profiles/dialog/PreviewPicture.h"
#include "profiles/dialog/PreviewTrimPage.h"
#include "profiles/dialog/TrimTrackBar.h"
#include "tests/profiles/ProfileWindowsFixture.h"
#include "tests/support/TestMedia.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace kestrova::test {

namespace {

constexpr int kRate = 25;

testmedia::ClipSpec Clip640(const char* format = "mp4") {
    testmedia::ClipSpec spec;
    spec.format = format;
    spec.duration = 4.0;
    spec.width = 640;
    spec.height = 360;
    return spec;
}

// The part of a picture that is not the preview's background colour.
QRect DrawnPart(const QImage& image) {
    QRect drawn;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != TPreviewPicture::kBackground) drawn |= QRect(x, y, 1, 1);
    return drawn;
}

int FrameNumberIn(const QImage& picture) {
    const QImage luma = picture.convertToFormat(QImage::Format_Grayscale8);
    return testmedia::FrameNumberFromPicture(luma.constBits(), static_cast<int>(luma.bytesPerLine()),
                                             luma.width(), luma.height());
}

class PreviewTest : public ProfileWindowsTest {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }

    PreviewTest() {
        WriteFile("profiles/mp4.xml", Mp4ProfileXml());
        WriteIndex("recent.xml", {Mp4Entry()});
    }

    void Open(const testmedia::ClipSpec& spec) {
        ASSERT_TRUE(Probe.LoadFile(testmedia::Clip(spec))) << Probe.LastErrMsg();
        Dialog().SetSource(Probe);
    }

    TPreviewTrimPage& Page() { return *InDialog<TPreviewTrimPage>(QStringLiteral("pgePreview")); }
    TTrimTrackBar& Track() { return *InDialog<TTrimTrackBar>(QStringLiteral("trcPreview")); }
    TPreviewPicture& Picture() { return *InDialog<TPreviewPicture>(QStringLiteral("imgPreview")); }
    QString Text(const char* name) {
        if (auto* edit = Dialog().findChild<QLineEdit*>(QLatin1String(name))) return edit->text();
        return InDialog<QLabel>(QLatin1String(name))->text();
    }
    void Click(const char* button) { InDialog<QPushButton>(QLatin1String(button))->click(); }

    // Moves the track bar and lets the dialog decode.
    void MoveTo(int position) {
        Track().setValue(position);
        QApplication::processEvents();
    }
    // The frame number of the picture the preview shows now, read from what it drew.
    int ShownFrame() {
        const QImage drawn = Picture().grab().toImage();
        const QRect part = DrawnPart(drawn);
        return part.isEmpty() ? -1 : FrameNumberIn(drawn.copy(part));
    }
    int64_t Step() { return Page().Scale().StepMicroseconds; }

    TAVProbe Probe;
};

class PictureAtTimeTest : public PreviewTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PictureAtTimeTest, ShowsThePictureOfTheChosenTimeWhereverTheKeyPicturesAre) {
    Open(Clip640(GetParam()));
    ASSERT_EQ(Step(), 1000);
    EXPECT_EQ(ShownFrame(), 0) << "the first picture is there as soon as the source is set";
    EXPECT_EQ(DrawnPart(Picture().grab().toImage()), QRect(0, 0, 320, 180))
            << "a 16:9 picture fills the preview";
    // Key pictures come once a second: times inside a run of pictures need decoding on.
    const std::pair<int, int> times[] = {{1520, 38}, {2990, 74}, {1000, 25}, {Track().maximum(), 99},
                                         {500, 12},  {40, 1},    {39, 0}};
    for (const auto& [position, frame] : times) {
        MoveTo(position);
        EXPECT_EQ(ShownFrame(), frame) << "position " << position;
    }
}

INSTANTIATE_TEST_SUITE_P(Containers, PictureAtTimeTest, ::testing::Values("mp4", "flv"));

TEST_F(PreviewTest, AFourByThreePictureIsCentredWithItsAspectKept) {
    testmedia::ClipSpec spec = Clip640();
    spec.width = 320;
    spec.height = 240;
    Open(spec);
    MoveTo(2000);
    const QImage drawn = Picture().grab().toImage();
    ASSERT_EQ(DrawnPart(drawn), QRect(40, 0, 240, 180));
    EXPECT_EQ(FrameNumberIn(drawn.copy(DrawnPart(drawn))), 50);
}

TEST_F(PreviewTest, ADragDecodesOnlyForItsLastPosition) {
    Open(Clip640());
    QSignalSpy shown(&Page(), &TPreviewTrimPage::PictureShown);
    for (int position = 0; position <= 3000; position += 10) Track().setValue(position);
    EXPECT_EQ(Text("lblPTS"), QStringLiteral("PTS: 3.000")) << "the time follows at once";
    QApplication::processEvents();
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(shown[0][0].toInt(), 3000);
    EXPECT_EQ(ShownFrame(), 75);
}

TEST_F(PreviewTest, ThePictureInActualSizeIsTheDecodedOne) {
    Open(Clip640());
    MoveTo(1520);
    QString caption;
    QSize size;
    int frame = -1;
    QTimer::singleShot(0, [&] {
        QWidget* view = QApplication::activeModalWidget();
        ASSERT_NE(view, nullptr);
        caption = view->windowTitle();
        size = view->size();
        frame = FrameNumberIn(view->grab().toImage());
        QTest::keyClick(view, Qt::Key_Escape);
    });
    QTest::mouseClick(&Picture(), Qt::LeftButton);
    EXPECT_EQ(caption, QStringLiteral("640x360 PTS: 1.520"));
    EXPECT_EQ(size, QSize(640, 360));
    EXPECT_EQ(frame, 38);
}

struct TTrimCase {
    const char* Name;
    int Start;  // track positions; -1: the last one
    int End;
    bool Usable;
};

void PrintTo(const TTrimCase& trim, std::ostream* out) {
    *out << trim.Name;
}

class TrimTest : public PreviewTest, public ::testing::WithParamInterface<TTrimCase> {};

TEST_P(TrimTest, TheMarkedPartBecomesTheStartAndDurationOfTheRecords) {
    const TTrimCase& trim = GetParam();
    Open(Clip640());
    auto& cutClip = *InDialog<QCheckBox>(QStringLiteral("chkCutClip"));
    EXPECT_EQ(Text("edtStartTime"), QStringLiteral("N/A"));
    EXPECT_EQ(Text("edtEndTime"), QStringLiteral("N/A"));
    EXPECT_FALSE(cutClip.isEnabled());

    const int last = Track().maximum();
    const int start = trim.Start < 0 ? last : trim.Start;
    const int end = trim.End < 0 ? last : trim.End;
    MoveTo(start);
    Click("btnStartTime");
    MoveTo(end);
    Click("btnEndTime");
    EXPECT_EQ(cutClip.isEnabled(), trim.Usable);
    cutClip.setChecked(true);
    if (trim.Name == std::string("Middle")) {
        MoveTo(1760);
        Dialog().SetCurrentPage(TfrmOption::TPage::Preview);
        SaveScreenshot(Dialog(), QStringLiteral("dialog-preview"));
    }

    const int64_t duration = Probe.GetFileStreamInfo().Duration;
    const int64_t endTime = end == last ? duration : end * Step();
    EXPECT_EQ(Text("edtStartTime"), QString::asprintf("%d.%03d", start / 1000, start % 1000));
    const TInputOptions input = Dialog().BuildInputOptions();
    const TOutputOptions output = Dialog().BuildOutputOptions();
    if (trim.Usable) {
        EXPECT_EQ(input.StartTime, start * Step());
        EXPECT_EQ(output.Duration, endTime - start * Step());
    } else {
        EXPECT_EQ(input.StartTime, kNoHostTime);
        EXPECT_EQ(output.Duration, kNoHostTime);
    }
}

INSTANTIATE_TEST_SUITE_P(Selections, TrimTest,
                         ::testing::Values(TTrimCase{"Middle", 1000, 3000, true},
                                           // The end marker on the last position reaches the very end.
                                           TTrimCase{"ToTheEnd", 2000, -1, true},
                                           TTrimCase{"Reversed", 3000, 1000, false},
                                           TTrimCase{"Empty", 1500, 1500, false}),
                         [](const ::testing::TestParamInfo<TTrimCase>& info) {
                             return std::string(info.param.Name);
                         });

TEST_F(PreviewTest, DraggingAMarkerMarksThePartAndShowsWhereItFalls) {
    Open(Clip640());
    TTrimTrackBar& track = Track();
    const QPoint grip = track.MarkerGrip(TTrimTrackBar::TMarker::End);
    const QPoint target(track.PositionOf(2000), grip.y());
    QTest::mousePress(&track, Qt::LeftButton, {}, grip);
    QMouseEvent move(QEvent::MouseMove, target, track.mapToGlobal(target), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&track, &move);
    QTest::mouseRelease(&track, Qt::LeftButton, {}, target);
    QApplication::processEvents();

    EXPECT_EQ(track.SelectionEnd(), track.ValueAt(target.x()));
    EXPECT_EQ(track.value(), track.SelectionEnd()) << "the preview follows the marker";
    EXPECT_TRUE(InDialog<QCheckBox>(QStringLiteral("chkCutClip"))->isEnabled());
    EXPECT_EQ(Text("edtEndTime"),
              QString::asprintf("%d.%03d", track.SelectionEnd() / 1000, track.SelectionEnd() % 1000));
    EXPECT_EQ(ShownFrame(), track.SelectionEnd() * kRate / 1000);

    // The start marker cannot pass the end one.
    const QPoint startGrip = track.MarkerGrip(TTrimTrackBar::TMarker::Start);
    QTest::mousePress(&track, Qt::LeftButton, {}, startGrip);
    const QPoint beyond(track.width() - 2, startGrip.y());
    QMouseEvent past(QEvent::MouseMove, beyond, track.mapToGlobal(beyond), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&track, &past);
    QTest::mouseRelease(&track, Qt::LeftButton, {}, beyond);
    EXPECT_EQ(track.SelectionStart(), track.SelectionEnd() - 1);
}

TEST_F(PreviewTest, AHiddenDialogDecodesNothingHoldsNoPictureAndKeepsItsTrimForTheNextShowing) {
    Open(Clip640());
    TfrmOption& dialog = Dialog();
    dialog.show();
    MoveTo(1000);
    Click("btnStartTime");
    InDialog<QCheckBox>(QStringLiteral("chkCutClip"))->setChecked(true);
    dialog.hide();
    Probe.CloseFile();  // the main window's probe moves on
    QSignalSpy shown(&Page(), &TPreviewTrimPage::PictureShown);
    MoveTo(2000);
    EXPECT_EQ(shown.count(), 0);
    EXPECT_EQ(dialog.BuildInputOptions().StartTime, 1000000)
            << "the records are built after the dialog closed";

    dialog.show();
    MoveTo(2500);
    EXPECT_EQ(shown.count(), 0) << "the probe no longer holds the source";
    ASSERT_TRUE(Probe.LoadFile(testmedia::Clip(Clip640())));  // the row is edited again
    MoveTo(2600);
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(ShownFrame(), 65);

    // Hidden, it holds no picture (nor window); shown again for the row, the picture comes back.
    dialog.hide();
    QApplication::processEvents();
    EXPECT_FALSE(Picture().HasPicture());
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(shown.count(), 2);
    EXPECT_EQ(ShownFrame(), 65);
    EXPECT_EQ(dialog.BuildInputOptions().StartTime, 1000000);
}

struct TInfoCase {
    const char* Name;
    testmedia::ClipSpec Spec;
    const char* Size;
    const char* Rate;
    const char* SampleRate;
    const char* Channels;
};

void PrintTo(const TInfoCase& info, std::ostream* out) {
    *out << info.Name;
}

testmedia::ClipSpec Spec(const char* format, const char* rate, int channels, int sampleRate,
                         bool video = true, bool audio = true) {
    testmedia::ClipSpec spec;
    spec.format = format;
    spec.rate = rate;
    spec.channels = channels;
    spec.sampleRate = sampleRate;
    spec.video = video;
    spec.audio = audio;
    return spec;
}

class MediaInfoTest : public PreviewTest, public ::testing::WithParamInterface<TInfoCase> {};

TEST_P(MediaInfoTest, ShowsWhatTheProbeFound) {
    const TInfoCase& info = GetParam();
    Open(info.Spec);
    EXPECT_EQ(Text("lblVSZ"), QLatin1String(info.Size));
    EXPECT_EQ(Text("lblVFR"), QLatin1String(info.Rate));
    EXPECT_EQ(Text("lblASR"), QLatin1String(info.SampleRate));
    EXPECT_EQ(Text("lblACH"), QLatin1String(info.Channels));
    EXPECT_EQ(Text("lblDuration"), DurationText(Probe.GetFileStreamInfo().Duration));
    const int32_t videoRate = Probe.FirstVideoStreamIndex() >= 0 ? Probe.GetVideoStreamInfo().BitRate : -1;
    EXPECT_EQ(Text("lblVBR"),
              videoRate < 0 ? QStringLiteral("N/A") : QStringLiteral("%1 Kbps").arg(videoRate / 1000));
    if (!info.Spec.video) {
        EXPECT_FALSE(Picture().HasPicture());
        EXPECT_TRUE(DrawnPart(Picture().grab().toImage()).isEmpty()) << "only the preview colour";
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, MediaInfoTest,
                         ::testing::Values(TInfoCase{"NtscSurround", Spec("mp4", "30000/1001", 6, 48000),
                                                     "320x240", "29.97", "48000 Hz", "6"},
                                           TInfoCase{"FlashMono", Spec("flv", "25", 1, 22050), "320x240",
                                                     "25", "22050 Hz", "Mono"},
                                           TInfoCase{"VideoOnly", Spec("mp4", "25", 2, 44100, true, false),
                                                     "320x240", "25", "N/A", "N/A"},
                                           TInfoCase{"AudioOnly", Spec("mp3", "25", 2, 44100, false, true),
                                                     "N/A", "N/A", "44100 Hz", "Stereo"}),
                         [](const ::testing::TestParamInfo<TInfoCase>& info) {
                             return std::string(info.param.Name);
                         });

// Compared as the queue's file writes them: every field but the program folder.
TEST_F(PreviewTest, ADialogRebuiltFromSavedChoicesConfirmsThemAsTheyWere) {
    Open(Clip640());
    TSavedRow saved, shown;
    saved.Profile = Mp4Entry();
    saved.Choices = Dialog().Choices();
    TOptionChoices& choices = saved.Choices;
    choices.Parameters[TParameter::VideoCodec] = "a codec the profile does not offer";
    choices.Parameters[TParameter::AudioCodec].reset();
    choices.Filters.Negate = true;
    choices.CropPad = {true, {1, 2, 3, 4}, false, {}};
    choices.Norm = TNorm::Ntsc;
    choices.Hooks.Mode = THookMode::Custom;
    choices.Trim = {true, 1'000'000, 3'000'000};
    choices.OutputFolder = "/somewhere/";
    DropDialog();
    Open(Clip640());
    Dialog().RestoreChoices(saved.Profile, saved.Choices);
    shown.Profile = Dialog().ConfirmedProfile();
    shown.Choices = Dialog().Choices();
    EXPECT_EQ(QueueFileText({{shown}}).toStdString(), QueueFileText({{saved}}).toStdString());
}

}  // namespace

}  // namespace kestrova::test
