#pragma once
#include "profiles/options/HookModules.h"
#include "profiles/options/OptionChoices.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kestrova {

class TCardGroup;

// The options dialog's "Video Hooks" page: the external hook modules drawing on the converted
// pictures, or the program's own custom hook instead.
//
// A hook's box is enabled while external hooks are chosen and its module is in the program
// folder's vhook/; a box that belongs to a hook (its options, its text) is enabled while that
// hook's box is enabled and checked.
class THooksPage : public QWidget {
    Q_OBJECT

public:
    THooksPage(const QString& programFolder, QWidget* parent = nullptr);

    // Applies the enable rules again (the modules present may have changed).
    void RefreshEnables();
    void FillChoices(THookChoices& hooks) const;
    // The text edits show what the hooks draw: a text left empty draws the default text.
    void ShowDrawnTexts();

private:
    QCheckBox* AddCheck(const char* name, const QString& caption, int left, int row);
    QLineEdit* AddTextEdit(const char* name, int row);
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
    QLabel* lblHookNote;
};

}  // namespace kestrova
