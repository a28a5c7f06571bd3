#include "app/settings/GeneralOptionsFrm.h"
#include "app/settings/Settings.h"
#include "app/settings/UpDown.h"
#include "tests/app/Fakes.h"

#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kestrova::testing {

namespace {

// The dialog over a settings file of the test's own, with every desktop service faked.
class GeneralOptionsTest : public ::testing::Test {
protected:
    GeneralOptionsTest() : FSettings(FEnvironment.Path(QStringLiteral("Setting.ini"))) {}

    TFrmGeneralOption& Dialog() {
        if (!FDialog) FDialog = std::make_unique<TFrmGeneralOption>(FSettings);
        return *FDialog;
    }

    template <class Widget>
    Widget* Find(const char* name) {
        auto* widget = Dialog().findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void Click(const char* button) { Find<QPushButton>(button)->click(); }
    QString Text(const char* edit) { return Find<QLineEdit>(edit)->text(); }
    int CheckedPriority() { return Find<QRadioButton>("rdgrpPriorityItem0")->group()->checkedId(); }

    QByteArray SettingsFile() const {
        QFile file(FSettings.FilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void UseSettings(int processes, quint8 priority, const QString& folder) {
        FSettings.Values() = {.Processes = processes, .Priority = priority, .OutputFolder = folder};
    }

    TShellTestEnvironment FEnvironment;
    TSettingsStore FSettings;
    std::unique_ptr<TFrmGeneralOption> FDialog;
};

}  // namespace

TEST_F(GeneralOptionsTest, ShowsEveryControlWithItsCaption) {
    TFrmGeneralOption& dialog = Dialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(dialog.size(), QSize(445, 289));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    EXPECT_EQ(Find<QGroupBox>("grpConvert")->title(), QStringLiteral("Convert"));
    EXPECT_EQ(Find<QLabel>("lblProcess")->text(), QStringLiteral("Maximum Simultaneous Running Processes:"));
    EXPECT_EQ(Find<QGroupBox>("rdgrpPriority")->title(), QStringLiteral("Priority in running background"));
    const QStringList items = {
            QStringLiteral("Run in normal priority"), QStringLiteral("Run in Lower priority "),
            QStringLiteral("Run in Lowest priority "), QStringLiteral("Run only when the system is idle")};
    for (int item = 0; item < items.size(); ++item) {
        auto* radio =
                Find<QRadioButton>(QStringLiteral("rdgrpPriorityItem%1").arg(item).toLatin1().constData());
        EXPECT_EQ(radio->text(), items[item]);
        EXPECT_EQ(radio->group()->id(radio), item);
    }
    EXPECT_EQ(Find<QGroupBox>("grpOutput")->title(), QStringLiteral("Output"));
    EXPECT_EQ(Find<QLabel>("lblDestination")->text(), QStringLiteral("Destination:"));
    EXPECT_TRUE(Find<QLineEdit>("edtOutPutFolder")->isReadOnly());
    EXPECT_EQ(Find<QPushButton>("btnBrowse")->text(), QStringLiteral("Browse"));
    EXPECT_EQ(Find<QPushButton>("btnOpen")->text(), QStringLiteral("Open"));
    EXPECT_EQ(Find<QPushButton>("btnRestore")->text(), QStringLiteral("Restore defaults"));
    EXPECT_EQ(Find<QPushButton>("btnOk")->text(), QStringLiteral("OK"));
    EXPECT_EQ(Find<QPushButton>("btnCancel")->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(Find<QPushButton>("btnApply")->text(), QStringLiteral("Apply"));
    EXPECT_TRUE(Find<QPushButton>("btnApply")->isEnabled());
    EXPECT_EQ(Find<TUpDown>("udProcess")->Minimum(), 0);
    EXPECT_EQ(Find<TUpDown>("udProcess")->Maximum(), 100);
}

TEST_F(GeneralOptionsTest, TheUpdateGroupLiesOutOfSight) {
    auto* update = Find<QGroupBox>("grpUpdate");
    EXPECT_EQ(update->title(), QStringLiteral("Update"));
    EXPECT_GE(update->geometry().top(), Dialog().height());
    auto* check = Find<QPushButton>("btnCheckUpdate");
    EXPECT_EQ(check->text(), QStringLiteral("Check for update"));
    check->click();
    EXPECT_EQ(FEnvironment.Shell().Opened, std::vector<QString>{TFrmGeneralOption::UpdatePageAddress});
}

TEST_F(GeneralOptionsTest, ShowingFillsTheControlsFromTheSettings) {
    const QString out = FEnvironment.MakeFolder(QStringLiteral("Out"));
    UseSettings(5, 2, out + u'/');
    Dialog().show();
    EXPECT_EQ(Text("edtProcess"), QStringLiteral("5"));
    EXPECT_EQ(CheckedPriority(), 2);
    EXPECT_EQ(Text("edtOutPutFolder"), out + u'/');
}

TEST_F(GeneralOptionsTest, WithoutSettingsFileTheVideoFolderIsShownAndNothingIsWritten) {
    FSettings.Load();
    Dialog().show();
    EXPECT_EQ(Text("edtProcess"), QStringLiteral("3"));
    EXPECT_EQ(CheckedPriority(), 0);
    EXPECT_EQ(Text("edtOutPutFolder"), FEnvironment.Folders().VideosFolder + u'/');
    EXPECT_TRUE(QFileInfo(FEnvironment.Folders().VideosFolder).isDir());
    EXPECT_FALSE(QFileInfo::exists(FSettings.FilePath()));
}

TEST_F(GeneralOptionsTest, RestoreThenCancelChangesNothing) {
    const QString out = FEnvironment.MakeFolder(QStringLiteral("Out"));
    UseSettings(7, 3, out);
    FSettings.Save();
    const QByteArray saved = SettingsFile();
    Dialog().show();

    Click("btnRestore");
    EXPECT_EQ(Text("edtProcess"), QStringLiteral("3"));
    EXPECT_EQ(CheckedPriority(), 0);
    EXPECT_EQ(Text("edtOutPutFolder"), FEnvironment.Folders().VideosFolder + u'/');
    Click("btnCancel");

    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(Dialog().result(), QDialog::Rejected);
    EXPECT_EQ(FSettings.Values().Processes, 7);
    EXPECT_EQ(FSettings.Values().Priority, 3);
    EXPECT_EQ(FSettings.Values().OutputFolder, out);
    EXPECT_EQ(SettingsFile(), saved);

    Dialog().show();  // shown again, the controls come from the settings once more
    EXPECT_EQ(Text("edtProcess"), QStringLiteral("7"));
    EXPECT_EQ(CheckedPriority(), 3);
    EXPECT_EQ(Text("edtOutPutFolder"), out + u'/');
}

TEST_F(GeneralOptionsTest, ApplyStoresABrowsedFolderWithoutTrailingSeparator) {
    const QString chosen = FEnvironment.MakeFolder(QStringLiteral("Chosen"));
    FEnvironment.Browser().Answer = chosen + u'/';
    Dialog().show();

    Click("btnBrowse");
    ASSERT_EQ(FEnvironment.Browser().Requests.size(), 1u);
    EXPECT_EQ(FEnvironment.Browser().Requests[0].Title, QStringLiteral("Select Destination Folder"));
    EXPECT_EQ(FEnvironment.Browser().Requests[0].Owner, &Dialog());
    EXPECT_FALSE(FEnvironment.Browser().Requests[0].CentreOnScreen);
    EXPECT_EQ(Text("edtOutPutFolder"), chosen);

    Find<QRadioButton>("rdgrpPriorityItem1")->click();
    Click("btnApply");

    EXPECT_TRUE(FEnvironment.Errors.empty());
    EXPECT_FALSE(Find<QPushButton>("btnApply")->isEnabled());
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_EQ(FSettings.Values().OutputFolder, chosen);
    EXPECT_EQ(SettingsFile(),
              QStringLiteral("[general]\nprocesses=3\npriority=1\noutputfolder=%1\n").arg(chosen).toUtf8());

    TSettingsStore nextStart(FSettings.FilePath());
    nextStart.Load();
    EXPECT_EQ(nextStart.Values().OutputFolder, chosen + u'/');
}

TEST_F(GeneralOptionsTest, CancellingTheBrowserKeepsTheFolder) {
    Dialog().show();
    const QString before = Text("edtOutPutFolder");
    Click("btnBrowse");
    EXPECT_EQ(Text("edtOutPutFolder"), before);
}

TEST_F(GeneralOptionsTest, ATextThatIsNoIntegerIsReportedAndNothingIsSaved) {
    Dialog().show();
    Find<QLineEdit>("edtProcess")->setText(QStringLiteral("abc"));

    Click("btnApply");
    Click("btnOk");

    ASSERT_EQ(FEnvironment.Errors.size(), 2u);
    EXPECT_EQ(FEnvironment.Errors[0].Text, QStringLiteral("'abc' is not a valid integer value."));
    EXPECT_EQ(FEnvironment.Errors[0].Severity, TErrorSeverity::Error);
    EXPECT_FALSE(QFileInfo::exists(FSettings.FilePath()));
    EXPECT_EQ(FSettings.Values().Processes, 3);
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_TRUE(Find<QPushButton>("btnApply")->isEnabled());  // still worth applying once corrected
}

TEST_F(GeneralOptionsTest, AnUnwritableSettingsFileIsReportedAndTheDialogStaysOpen) {
    ASSERT_TRUE(QDir().mkdir(FSettings.FilePath()));  // a folder where the file should be
    Dialog().show();
    Find<QLineEdit>("edtProcess")->setText(QStringLiteral("6"));

    Click("btnOk");

    ASSERT_EQ(FEnvironment.Errors.size(), 1u);
    EXPECT_EQ(FEnvironment.Errors[0].Text,
              QStringLiteral("Unable to write to %1.").arg(FSettings.FilePath()));
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_EQ(FSettings.Values().Processes, 6);  // held in memory all the same
}

TEST_F(GeneralOptionsTest, OkSavesAndClosesAndZeroProcessesIsAccepted) {
    Dialog().show();
    Find<QLineEdit>("edtProcess")->setText(QStringLiteral("0"));
    Click("btnOk");
    EXPECT_TRUE(FEnvironment.Errors.empty());
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(Dialog().result(), QDialog::Accepted);
    EXPECT_EQ(FSettings.Values().Processes, 0);
    EXPECT_TRUE(SettingsFile().startsWith("[general]\nprocesses=0\n"));
}

TEST_F(GeneralOptionsTest, TheArrowsStepWithinTheRangeAndEnableApply) {
    UseSettings(99, 0, QString());
    Dialog().show();
    Click("btnApply");
    ASSERT_FALSE(Find<QPushButton>("btnApply")->isEnabled());

    QList<QToolButton*> arrows = Find<TUpDown>("udProcess")->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    QToolButton* up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
    QToolButton* down = up == arrows[0] ? arrows[1] : arrows[0];
    up->click();
    EXPECT_TRUE(Find<QPushButton>("btnApply")->isEnabled());
    up->click();
    EXPECT_EQ(Text("edtProcess"), QStringLiteral("100"));

    Find<QLineEdit>("edtProcess")->setText(QStringLiteral("7"));  // typed by the user
    down->click();
    EXPECT_EQ(Text("edtProcess"), QStringLiteral("6"));
    Find<QLineEdit>("edtProcess")->setText(QStringLiteral("0"));
    down->click();
    EXPECT_EQ(Text("edtProcess"), QStringLiteral("0"));
}

TEST_F(GeneralOptionsTest, ChoosingAPriorityEnablesApply) {
    Dialog().show();
    Click("btnApply");
    Find<QRadioButton>("rdgrpPriorityItem3")->click();
    EXPECT_TRUE(Find<QPushButton>("btnApply")->isEnabled());
}

TEST_F(GeneralOptionsTest, OpenShowsTheFolderInTheFileManager) {
    Dialog().show();
    Click("btnOpen");
    EXPECT_EQ(FEnvironment.Shell().Opened, std::vector<QString>{Text("edtOutPutFolder")});
}

TEST_F(GeneralOptionsTest, EveryCaptionFitsItsControl) {
    Dialog().show();
    for (QWidget* widget : Dialog().findChildren<QWidget*>()) {
        const std::string name = widget->objectName().toStdString();
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            // Push buttons ask for a minimum width of their own; the caption is what must fit.
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 12, button->width()) << name;
        } else if (qobject_cast<QLabel*>(widget) || qobject_cast<QRadioButton*>(widget)) {
            EXPECT_LE(widget->sizeHint().width(), widget->width()) << name;
        }
    }
}

TEST_F(GeneralOptionsTest, LooksRight) {
    const QString out = FEnvironment.MakeFolder(QStringLiteral("Videos of the week"));
    UseSettings(3, 1, out);
    Dialog().show();
    const QImage picture = Dialog().grab().toImage();
    EXPECT_EQ(picture.size(), QSize(445, 289));
    // Kept for a look by eye when a folder for it is named.
    const QString folder = qEnvironmentVariable("KESTROVA_SCREENSHOT_DIR");
    EXPECT_TRUE(picture.save(folder.isEmpty() ? FEnvironment.Path(QStringLiteral("options.png"))
                                              : folder + QStringLiteral("/general-options.png")));
}

}  // namespace kestrova::testing
