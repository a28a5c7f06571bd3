#pragma once
#include "profiles/options/OptionChoices.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace kestrova {

class TCardGroup;

// The options dialog's "Effects" page: the video filters, cropping and padding, the TV norm
// and whether the source's timestamps are copied. Each check box enables the edits that
// belong to it.
class TEffectsPage : public QWidget {
    Q_OBJECT

public:
    explicit TEffectsPage(QWidget* parent = nullptr);

    // Writes the filters, crop and pad, norm and timestamp choices.
    void FillChoices(TOptionChoices& choices) const;
    // Shows the filters, crop and pad, norm and timestamp choices of a saved row.
    void ShowChoices(const TOptionChoices& choices, bool normOffered);
    // The norm the loaded profile asks for; the norm is offered only for a disc profile
    // (VCD, SVCD, DVD), the one kind of target it acts on.
    void SetNorm(TNorm norm, bool offered);

private:
    void CreateFilterCard();
    void CreateCropPadCard();
    void CreateNormCard();
    void CreateTimestampCard();
    QCheckBox* AddFilter(const char* name, const QString& caption, int row);
    QLineEdit* AddFilterEdit(QCheckBox* check, const char* name, const QString& text, int row);
    QCheckBox* AddBands(const char* name, const QString& caption, const char* const (&editNames)[4], int top,
                        QLineEdit* (&edits)[4]);

    TCardGroup* grpVideoFilter;
    QCheckBox* chkVertFlip;
    QCheckBox* chkHoriFlip;
    QCheckBox* chkNegate;
    QCheckBox* chkScale;
    QLineEdit* edtScale;
    QCheckBox* chkRotate;
    QLineEdit* edtRotate;
    QCheckBox* chkSetPTS;
    QLineEdit* edtSetPTS;

    TCardGroup* grpCropPad;
    QCheckBox* chkCrop;
    QLineEdit* FCropEdits[4];  // edtCropTop, edtCropBottom, edtCropLeft, edtCropRight
    QCheckBox* chkPad;
    QLineEdit* FPadEdits[4];  // edtPadTop, edtPadBottom, edtPadLeft, edtPadRight

    TCardGroup* grpNorm;
    QButtonGroup* FNormButtons;

    TCardGroup* grpTimestamp;
    QCheckBox* chkCopyTimestamp;
};

}  // namespace kestrova
