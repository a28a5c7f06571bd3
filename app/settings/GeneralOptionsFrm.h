#pragma once
#include <QDialog>
#include <QPixmap>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrova {

class TSettingsStore;
class TUpDown;

// The general options dialog: how many conversions run at once, the background priority
// choice and the output folder. OK and Apply store the values and write the settings file;
// Cancel leaves everything as it was. Errors go to the application-wide error display and
// the dialog stays open.
class TFrmGeneralOption : public QDialog {
    Q_OBJECT

public:
    explicit TFrmGeneralOption(TSettingsStore& settings, QWidget* parent = nullptr);

    // The web page of the product, opened by "Check for update".
    static const QString UpdatePageAddress;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    void PlacePriorityColumns();
    void ConnectHandlers();
    void FillFromSettings();
    bool StoreAndSave();

    void FormCreate();
    void FormShow();
    void udProcessClick();
    void edtOutPutFolderChange();
    void rdgrpPriorityClick();
    void btnRestoreClick();
    void btnApplyClick();
    void btnOkClick();
    void btnCancelClick();
    void btnBrowseClick();
    void btnOpenClick();
    void btnCheckUpdateClick();

    TSettingsStore& FSettings;
    QPixmap FBackground;

    QGroupBox* grpConvert;
    QLabel* lblProcess;
    QLineEdit* edtProcess;
    TUpDown* udProcess;
    QGroupBox* rdgrpPriority;
    QButtonGroup* rdgrpPriorityItems;
    QGroupBox* grpOutput;
    QLabel* lblDestination;
    QLineEdit* edtOutPutFolder;
    QPushButton* btnBrowse;
    QPushButton* btnOpen;
    QPushButton* btnRestore;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QPushButton* btnApply;
    QGroupBox* grpUpdate;
    QPushButton* btnCheckUpdate;
};

}  // namespace kestrova
