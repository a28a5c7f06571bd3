#include "profiles/dialog/EffectsPage.h"

#include "profiles/dialog/CardGroup.h"
#include "profiles/dialog/OptionPagesLayout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace kestrova {

namespace {

using namespace optionpages;

constexpr int kCheckLeft = 12;
constexpr int kBandLimit = 9999;  // pixels
const char* const kCropEditNames[4] = {"edtCropTop", "edtCropBottom", "edtCropLeft", "edtCropRight"};
const char* const kPadEditNames[4] = {"edtPadTop", "edtPadBottom", "edtPadLeft", "edtPadRight"};
const char* const kBandCaptions[4] = {"Top", "Bottom", "Left", "Right"};

int FilterRowTop(int row) {
    return TCardGroup::kContentTop + row * kFilterRowPitch;
}

QRect BandEditRect(int band, int top) {
    return {kBandFirstLeft + band * kBandPitch, top, kBandWidth, kRowHeight};
}

// An edit that follows its check box: usable only while the box is checked.
void Follow(QLineEdit* edit, QCheckBox* check) {
    edit->setEnabled(check->isChecked());
    QObject::connect(check, &QCheckBox::toggled, edit, &QWidget::setEnabled);
}

int BandValue(const QLineEdit* edit) {
    return edit->text().trimmed().toInt();  // the validator lets only digits in; empty is 0
}

TBands Bands(QLineEdit* const (&edits)[4]) {
    return {BandValue(edits[0]), BandValue(edits[1]), BandValue(edits[2]), BandValue(edits[3])};
}

void ShowBands(const TBands& bands, QLineEdit* const (&edits)[4]) {
    const int values[4] = {bands.Top, bands.Bottom, bands.Left, bands.Right};
    for (int band = 0; band < 4; ++band) edits[band]->setText(QString::number(values[band]));
}

void ShowFilter(QCheckBox* check, bool checked, QLineEdit* edit = nullptr, const QString& text = {}) {
    check->setChecked(checked);
    if (edit) edit->setText(text);
}

}  // namespace

TEffectsPage::TEffectsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pgeEffects"));
    CreateFilterCard();
    CreateCropPadCard();
    CreateNormCard();
    CreateTimestampCard();
}

QCheckBox* TEffectsPage::AddFilter(const char* name, const QString& caption, int row) {
    auto* check = new QCheckBox(caption, grpVideoFilter);
    check->setObjectName(QString::fromLatin1(name));
    check->setGeometry(kCheckLeft, FilterRowTop(row), kFilterEditLeft - kCheckLeft - 4, kRowHeight);
    return check;
}

QLineEdit* TEffectsPage::AddFilterEdit(QCheckBox* check, const char* name, const QString& text, int row) {
    auto* edit = new QLineEdit(text, grpVideoFilter);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(kFilterEditLeft, FilterRowTop(row), kFilterEditWidth, kRowHeight);
    Follow(edit, check);
    return edit;
}

void TEffectsPage::CreateFilterCard() {
    grpVideoFilter = new TCardGroup(QStringLiteral("Video Filter"), "grpVideoFilter", kFilterCard, this);
    chkVertFlip = AddFilter("chkVertFlip", QStringLiteral("Vertically Flip"), 0);
    chkHoriFlip = AddFilter("chkHoriFlip", QStringLiteral("Horizontally Flip"), 1);
    chkNegate = AddFilter("chkNegate", QStringLiteral("Negate"), 2);
    chkScale = AddFilter("chkScale", QStringLiteral("Scale"), 3);
    edtScale = AddFilterEdit(chkScale, "edtScale", QStringLiteral("320:240"), 3);
    chkRotate = AddFilter("chkRotate", QStringLiteral("Rotate"), 4);
    edtRotate = AddFilterEdit(chkRotate, "edtRotate", QStringLiteral("45"), 4);
    chkSetPTS = AddFilter("chkSetPTS", QStringLiteral("SetPTS"), 5);
    edtSetPTS = AddFilterEdit(chkSetPTS, "edtSetPTS", QStringLiteral("0.5*PTS"), 5);
}

QCheckBox* TEffectsPage::AddBands(const char* name, const QString& caption, const char* const (&editNames)[4],
                                  int top, QLineEdit* (&edits)[4]) {
    auto* check = new QCheckBox(caption, grpCropPad);
    check->setObjectName(QString::fromLatin1(name));
    check->setGeometry(kCheckLeft, top, kBandFirstLeft - kCheckLeft - 4, kRowHeight);
    for (int band = 0; band < 4; ++band) {
        auto* edit = new QLineEdit(QStringLiteral("0"), grpCropPad);
        edit->setObjectName(QString::fromLatin1(editNames[band]));
        edit->setGeometry(BandEditRect(band, top));
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setValidator(new QIntValidator(0, kBandLimit, edit));
        edit->setToolTip(QStringLiteral("%1, in pixels").arg(QLatin1String(kBandCaptions[band])));
        Follow(edit, check);
        edits[band] = edit;
    }
    return check;
}

void TEffectsPage::CreateCropPadCard() {
    grpCropPad = new TCardGroup(QStringLiteral("Crop and Pad"), "grpCropPad", kCropPadCard, this);
    for (int band = 0; band < 4; ++band) {
        auto* caption = new QLabel(QLatin1String(kBandCaptions[band]), grpCropPad);
        caption->setGeometry(BandEditRect(band, TCardGroup::kContentTop - 2).adjusted(-4, 0, 4, -6));
        caption->setAlignment(Qt::AlignCenter);
    }
    chkCrop = AddBands("chkCrop", QStringLiteral("Crop"), kCropEditNames, TCardGroup::kContentTop + 20,
                       FCropEdits);
    chkPad =
            AddBands("chkPad", QStringLiteral("Pad"), kPadEditNames, TCardGroup::kContentTop + 54, FPadEdits);
}

void TEffectsPage::CreateNormCard() {
    grpNorm = new TCardGroup(QStringLiteral("Norm(VCD/SVCD/DVD)"), "grpNorm", kNormCard, this);
    FNormButtons = new QButtonGroup(grpNorm);
    const struct {
        TNorm Norm;
        const char* Name;
        const char* Caption;
    } kNorms[] = {{TNorm::Auto, "rdoNormAuto", "Auto"},
                  {TNorm::Pal, "rdoNormPAL", "PAL"},
                  {TNorm::Ntsc, "rdoNormNTSC", "NTSC"}};
    int top = TCardGroup::kContentTop;
    for (const auto& norm : kNorms) {
        auto* radio = new QRadioButton(QLatin1String(norm.Caption), grpNorm);
        radio->setObjectName(QLatin1String(norm.Name));
        radio->setGeometry(kCheckLeft, top, kNormCard.width() - 2 * kCheckLeft, kRowHeight);
        FNormButtons->addButton(radio, static_cast<int>(norm.Norm));
        top += 28;
    }
    SetNorm(TNorm::Auto, false);
}

void TEffectsPage::CreateTimestampCard() {
    grpTimestamp = new TCardGroup(QStringLiteral("Timestamps"), "grpTimestamp", kTimestampCard, this);
    chkCopyTimestamp = new QCheckBox(QStringLiteral("Copy Timestamp (some RM and RMVB sources need this)"),
                                     grpTimestamp);
    chkCopyTimestamp->setObjectName(QStringLiteral("chkCopyTimestamp"));
    chkCopyTimestamp->setGeometry(kCheckLeft, 33, kTimestampCard.width() - 2 * kCheckLeft, 20);
}

void TEffectsPage::SetNorm(TNorm norm, bool offered) {
    if (QAbstractButton* radio = FNormButtons->button(static_cast<int>(norm))) radio->setChecked(true);
    grpNorm->setEnabled(offered);
}

void TEffectsPage::FillChoices(TOptionChoices& choices) const {
    TVideoFilterChoices& filters = choices.Filters;
    filters.VertFlip = chkVertFlip->isChecked();
    filters.HoriFlip = chkHoriFlip->isChecked();
    filters.Negate = chkNegate->isChecked();
    filters.Scale = chkScale->isChecked();
    filters.ScaleText = edtScale->text();
    filters.Rotate = chkRotate->isChecked();
    filters.RotateText = edtRotate->text();
    filters.SetPts = chkSetPTS->isChecked();
    filters.SetPtsText = edtSetPTS->text();

    choices.CropPad.Crop = chkCrop->isChecked();
    choices.CropPad.CropBands = Bands(FCropEdits);
    choices.CropPad.Pad = chkPad->isChecked();
    choices.CropPad.PadBands = Bands(FPadEdits);

    choices.Norm = static_cast<TNorm>(std::max(FNormButtons->checkedId(), 0));
    choices.CopyTimestamps = chkCopyTimestamp->isChecked();
}

void TEffectsPage::ShowChoices(const TOptionChoices& choices, bool normOffered) {
    const TVideoFilterChoices& filters = choices.Filters;
    ShowFilter(chkVertFlip, filters.VertFlip);
    ShowFilter(chkHoriFlip, filters.HoriFlip);
    ShowFilter(chkNegate, filters.Negate);
    ShowFilter(chkScale, filters.Scale, edtScale, filters.ScaleText);
    ShowFilter(chkRotate, filters.Rotate, edtRotate, filters.RotateText);
    ShowFilter(chkSetPTS, filters.SetPts, edtSetPTS, filters.SetPtsText);
    chkCrop->setChecked(choices.CropPad.Crop);
    ShowBands(choices.CropPad.CropBands, FCropEdits);
    chkPad->setChecked(choices.CropPad.Pad);
    ShowBands(choices.CropPad.PadBands, FPadEdits);
    SetNorm(choices.Norm, normOffered);
    chkCopyTimestamp->setChecked(choices.CopyTimestamps);
}

}  // namespace kestrova
