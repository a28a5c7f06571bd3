#include "profiles/dialog/PreviewTrimPage.h"

#include "engine/frame/AVProbe.h"
#include "profiles/dialog/ActualSizeView.h"
#include "profiles/dialog/CardGroup.h"
#include "profiles/dialog/OptionPagesLayout.h"
#include "profiles/dialog/PreviewDecode.h"
#include "profiles/dialog/PreviewPicture.h"
#include "profiles/options/TrimRange.h"

#include <QCheckBox>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace kestrova {

namespace {

using namespace optionpages;

const QString kNotSet = QStringLiteral("N/A");
const QColor kCaptionColour(0x6B, 0x78, 0x89);
const QColor kValueColour(0x1E, 0x29, 0x3B);

template <class Widget>
Widget* Place(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* button = Place(new QPushButton(caption, parent), name, geometry);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* MakeTimeEdit(QWidget* parent, const char* name, const QRect& geometry) {
    auto* edit = Place(new QLineEdit(kNotSet, parent), name, geometry);
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

void Colour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

// "<n> <unit>" for a known number, N/A for the probe's -1.
QString Measure(int64_t value, const char* unit) {
    return value < 0 ? kNotSet : QStringLiteral("%1 %2").arg(value).arg(QLatin1String(unit));
}

int64_t FrameDurationOf(const TVideoStreamInfo& video) {
    if (video.FrameRateNum <= 0 || video.FrameRateDen <= 0) return 0;
    return int64_t{1000000} * video.FrameRateDen / video.FrameRateNum;
}

}  // namespace

TPreviewTrimPage::TPreviewTrimPage(QWidget* parent) : QWidget(parent), FPictureTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("pgePreview"));
    FPictureTimer->setSingleShot(true);
    FPictureTimer->setInterval(0);
    connect(FPictureTimer, &QTimer::timeout, this, &TPreviewTrimPage::ShowPicture);
    CreatePreviewCard();
    CreateMediaInfoCard();
}

void TPreviewTrimPage::CreatePreviewCard() {
    grpCutClip = new TCardGroup(QStringLiteral("Preview and Trim"), "grpCutClip", kPreviewCard, this);
    imgPreview = Place(new TPreviewPicture(grpCutClip), "imgPreview", kPreviewPicture);
    imgPreview->setToolTip(QStringLiteral("Click to view current picture in actual size"));
    lblPTS = Place(new QLabel(QStringLiteral("PTS: 0.000"), grpCutClip), "lblPTS", kPtsLabel);
    lblPTS->setAlignment(Qt::AlignCenter);
    Colour(*lblPTS, kCaptionColour);
    trcPreview = Place(new TTrimTrackBar(grpCutClip), "trcPreview", kTrackBar);
    lblStartTime = Place(new QLabel(grpCutClip), "lblStartTime", kStartTimeLabel);
    lblEndTime = Place(new QLabel(grpCutClip), "lblEndTime", kEndTimeLabel);
    lblEndTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Colour(*lblStartTime, kCaptionColour);
    Colour(*lblEndTime, kCaptionColour);
    btnStartTime = MakeButton(grpCutClip, "btnStartTime", QStringLiteral("Set Start"), kSetStartButton);
    edtStartTime = MakeTimeEdit(grpCutClip, "edtStartTime", kStartTimeEdit);
    btnEndTime = MakeButton(grpCutClip, "btnEndTime", QStringLiteral("Set End"), kSetEndButton);
    edtEndTime = MakeTimeEdit(grpCutClip, "edtEndTime", kEndTimeEdit);
    chkCutClip = Place(new QCheckBox(QStringLiteral("Cut Clip"), grpCutClip), "chkCutClip", kCutClipCheck);
    chkCutClip->setEnabled(false);

    connect(trcPreview, &QAbstractSlider::valueChanged, this, &TPreviewTrimPage::trcPreviewChange);
    connect(trcPreview, &TTrimTrackBar::MarkerMoved, this, &TPreviewTrimPage::trcPreviewMarkerMoved);
    connect(btnStartTime, &QPushButton::clicked, this, &TPreviewTrimPage::btnStartTimeClick);
    connect(btnEndTime, &QPushButton::clicked, this, &TPreviewTrimPage::btnEndTimeClick);
    connect(imgPreview, &TPreviewPicture::Clicked, this, &TPreviewTrimPage::imgPreviewClick);
}

QLabel* TPreviewTrimPage::AddInfoRow(QWidget* card, const char* name, const QString& caption, int& top) {
    auto* captionLabel = new QLabel(caption, card);
    captionLabel->setObjectName(QStringLiteral("%1Caption").arg(QLatin1String(name)));
    captionLabel->setGeometry(kInfoLeft, top, kInfoWidth, kInfoRowPitch);
    Colour(*captionLabel, kCaptionColour);
    auto* value = Place(new QLabel(kNotSet, card), name, QRect(kInfoLeft, top, kInfoWidth, kInfoRowPitch));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    Colour(*value, kValueColour);
    top += kInfoRowPitch;
    return value;
}

void TPreviewTrimPage::CreateMediaInfoCard() {
    grpMediaInfo = new TCardGroup(QStringLiteral("Source File Info"), "grpMediaInfo", kMediaInfoCard, this);
    int top = kInfoFirstRow;
    lblVSZ = AddInfoRow(grpMediaInfo, "lblVSZ", QStringLiteral("Video size"), top);
    lblVFR = AddInfoRow(grpMediaInfo, "lblVFR", QStringLiteral("Frame rate"), top);
    lblVBR = AddInfoRow(grpMediaInfo, "lblVBR", QStringLiteral("Video bitrate"), top);
    top += kInfoGroupGap;
    lblASR = AddInfoRow(grpMediaInfo, "lblASR", QStringLiteral("Sample rate"), top);
    lblABR = AddInfoRow(grpMediaInfo, "lblABR", QStringLiteral("Audio bitrate"), top);
    lblACH = AddInfoRow(grpMediaInfo, "lblACH", QStringLiteral("Channels"), top);
    top += kInfoGroupGap;
    lblDuration = AddInfoRow(grpMediaInfo, "lblDuration", QStringLiteral("Duration"), top);
}

void TPreviewTrimPage::SetSource(TAVProbe& probe, const TSourceInfo& source) {
    FProbe = &probe;
    FSourceFile = source.FileName;
    FHasVideo = probe.FirstVideoStreamIndex() >= 0;
    FDuration = source.File.Duration;
    FFrameDuration = FrameDurationOf(source.Video);
    imgPreview->Clear();
    SetUpTrackBar(probe.FormatShortName());
    ShowMediaInfo(source);
    ShowPicture();
}

void TPreviewTrimPage::SetUpTrackBar(const std::string& formatShortName) {
    FBusy = true;
    // A still picture (an image sequence) has no time to choose.
    const bool slider =
            QString::fromStdString(formatShortName).compare(QLatin1String("image2"), Qt::CaseInsensitive) !=
            0;
    FScale = slider ? TrackScaleFor(FDuration) : TTrackScale{};
    trcPreview->setVisible(slider);
    trcPreview->setRange(0, FScale.Maximum);
    trcPreview->setSingleStep(TrackLineSize(FScale.Maximum));
    trcPreview->setPageStep(std::max(FScale.Maximum / 10, 1));
    trcPreview->SetTickInterval(TrackTickInterval(FScale.Maximum, trcPreview->width()));
    trcPreview->setValue(0);
    trcPreview->SetSelection(0, FScale.Maximum);
    FSelectionSet = false;
    SelectionChanged();
    edtStartTime->setText(kNotSet);
    edtEndTime->setText(kNotSet);
    lblPTS->setText(QStringLiteral("PTS: ") + SecondsText(0));
    FBusy = false;
}

void TPreviewTrimPage::ShowMediaInfo(const TSourceInfo& source) {
    const TVideoStreamInfo& video = source.Video;
    const TAudioStreamInfo& audio = source.Audio;
    lblVSZ->setText(video.Width > 0 && video.Height > 0
                            ? QStringLiteral("%1x%2").arg(video.Width).arg(video.Height)
                            : kNotSet);
    lblVFR->setText(FrameRateText(video.FrameRateNum, video.FrameRateDen));
    lblVBR->setText(Measure(video.BitRate < 0 ? -1 : video.BitRate / 1000, "Kbps"));
    lblASR->setText(Measure(audio.SampleRate, "Hz"));
    lblABR->setText(Measure(audio.BitRate < 0 ? -1 : audio.BitRate / 1000, "Kbps"));
    lblACH->setText(ChannelsText(audio.Channels));
    lblDuration->setText(source.File.Duration < 0 ? kNotSet : DurationText(source.File.Duration));
}

TTrimChoice TPreviewTrimPage::TrimChoice() const {
    TTrimChoice choice;
    choice.Checked = chkCutClip->isEnabled() && chkCutClip->isChecked();
    choice.SelectionStart = TimeOfPosition(trcPreview->SelectionStart());
    choice.SelectionEnd = TimeOfPosition(trcPreview->SelectionEnd());
    return choice;
}

void TPreviewTrimPage::ShowTrim(const TTrimChoice& trim) {
    const int start = PositionOfTime(trim.SelectionStart);
    const int end = PositionOfTime(trim.SelectionEnd);
    trcPreview->SetSelection(start, end);
    // Markers left where a fresh source has them were never placed.
    FSelectionSet = trim.Checked || start != 0 || end != FScale.Maximum;
    SelectionChanged();
    chkCutClip->setChecked(trim.Checked);
}

void TPreviewTrimPage::SetDecoding(bool on) {
    FDecoding = on;
    if (on) {
        if (FHasVideo && !imgPreview->HasPicture()) FPictureTimer->start();
        return;
    }
    FPictureTimer->stop();
    // A hidden dialog may wait beside its queue row for a long time: no picture meanwhile.
    imgPreview->Release();
}

int64_t TPreviewTrimPage::TimeOfPosition(int position) const {
    // The last position stands for the very end, which the step may not reach exactly.
    if (position >= FScale.Maximum && FScale.Maximum > 0 && FDuration > 0) return FDuration;
    return int64_t{position} * FScale.StepMicroseconds;
}

// The inverse of TimeOfPosition on the bar's scale.
int TPreviewTrimPage::PositionOfTime(int64_t time) const {
    if (FScale.Maximum <= 0 || FScale.StepMicroseconds <= 0) return 0;
    if (FDuration > 0 && time >= FDuration) return FScale.Maximum;
    return static_cast<int>(std::clamp<int64_t>(time / FScale.StepMicroseconds, 0, FScale.Maximum));
}

bool TPreviewTrimPage::ProbeHoldsSource() const {
    return FProbe && FProbe->StreamCount() >= 0 && FProbe->FileName() == FSourceFile;
}

void TPreviewTrimPage::trcPreviewChange(int position) {
    lblPTS->setText(QStringLiteral("PTS: ") + SecondsText(int64_t{position} * FScale.StepMicroseconds));
    if (!FBusy && !FPictureTimer->isActive()) FPictureTimer->start();
}

void TPreviewTrimPage::ShowPicture() {
    if (FBusy || !FDecoding || !FHasVideo || !ProbeHoldsSource()) return;
    const int position = trcPreview->value();
    try {
        if (DecodePictureAt(*FProbe, std::max<int64_t>(TimeOfPosition(position), 0), FFrameDuration,
                            imgPreview->Bitmap())) {
            imgPreview->PictureChanged();
            emit PictureShown(position);
            return;
        }
    } catch (const std::exception&) {
        // Reported below like any other picture that could not be shown; the dialog goes on.
    }
    qDebug().noquote() << "error:" << position;
}

void TPreviewTrimPage::btnStartTimeClick() {
    trcPreview->SetSelection(trcPreview->value(), trcPreview->SelectionEnd());
    FSelectionSet = true;
    SelectionChanged();
}

void TPreviewTrimPage::btnEndTimeClick() {
    trcPreview->SetSelection(trcPreview->SelectionStart(), trcPreview->value());
    FSelectionSet = true;
    SelectionChanged();
}

void TPreviewTrimPage::trcPreviewMarkerMoved(TTrimTrackBar::TMarker, int value) {
    FSelectionSet = true;
    SelectionChanged();
    // The picture follows the marker, so the user sees where the cut falls.
    trcPreview->setValue(value);
}

void TPreviewTrimPage::SelectionChanged() {
    const int start = trcPreview->SelectionStart();
    const int end = trcPreview->SelectionEnd();
    lblStartTime->setText(HmsText(TimeOfPosition(start)));
    lblEndTime->setText(HmsText(TimeOfPosition(end)));
    if (FSelectionSet) {
        edtStartTime->setText(SecondsText(TimeOfPosition(start)));
        edtEndTime->setText(SecondsText(TimeOfPosition(end)));
    }
    chkCutClip->setEnabled(FSelectionSet && IsValidSelection(start, end));
}

void TPreviewTrimPage::imgPreviewClick() {
    TActualSizeView view(imgPreview->Bitmap(),
                         SecondsText(int64_t{trcPreview->value()} * FScale.StepMicroseconds), this);
    view.exec();
}

}  // namespace kestrova
