#pragma once
#include "profiles/options/HookModules.h"
#include "profiles/options/OptionChoices.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestrova {

class TCardGroup;

// The options dialog's "Video Hooks" page: the external hook modules drawing on the converted
// pictures, or the program's own custom hook instead.
//
// A hook's box is enabled while external hooks are chosen and its module is in the program
// folder's vhook/; a box that belongs to a hook (its options, its text) is enabled while that
// hook's box is enabled and checked. The hook behaviours are enabled while any hook is; the
// periods edit while "PTS Periods" is enabled and chosen.
class THooksPage : public QWidget {
    Q_OBJECT

public:
    THooksPage(const QString& programFolder, QWidget* parent = nullptr);

    // Applies the enable rules again (the modules present may have changed).
    void RefreshEnables();
    void FillChoices(THookChoices& hooks) const;
    // Shows the hook choices of a saved row (a hook whose module has gone stays unchecked).
    void ShowChoices(const THookChoices& hooks);
    // The text edits show what the hooks draw: a text left empty draws the default text.
    void ShowDrawnTexts();
    // False while "PTS Periods" is enabled and chosen and its periods are not ones the engine
    // takes; RefusePeriods then says why and puts the focus on them.
    bool PeriodsAccepted() const;
    void RefusePeriods();

private:
    static QRect CellAt(int left, int top);
    QCheckBox* AddCheck(const char* name, const QString& caption, int left, int row);
    QRadioButton* AddRadio(QButtonGroup* group, const char* name, const QString& caption,
                           const QRect& geometry);
    QLineEdit* AddTextEdit(const char* name, const QString& text, int top);
    void CreateBehaviourRows();
    void EnableHook(QCheckBox* hook, THook module, bool external);

    QString FProgramFolder;
    TCardGroup* grpHook;
    QRadioButton* rdoExternalHook;
    QRadioButton* rdoCustomHook;
    QCheckBox* chkImlib2Img;
    QCheckBox* chkImgDancing;
    QCheckBox* chkImlib2Txt;
    QLineEdit* edtImlib2Txt;
    QCheckBox* chkTxtScrolling;
    QCheckBox* chkWaterMark;
    QCheckBox* chkWaterMarkMode;
    QCheckBox* chkVantelHookImg;
    QCheckBox* chkVantelHookTxt;
    QLineEdit* edtVantelHookTxt;
    // When the checked hooks run: on every picture, or (PTS Periods) only in the typed periods.
    QRadioButton* rdoStandardHook;
    QRadioButton* rdoBeforeHook;
    QRadioButton* rdoPTSs;
    QLineEdit* edtPTSs;
    QPushButton* btnPTSs;
    QLabel* lblHookNote;
};

}  // namespace kestrova
