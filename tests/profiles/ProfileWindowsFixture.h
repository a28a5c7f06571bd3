#pragma once
// The profile windows over a program folder of the test's own: profile files and index
// documents written by the test, the skin as the build draws it, hook modules the test chooses,
// and every desktop service faked (folder browser, input box, shell, drive types, messages).
#include "profiles/dialog/InformationBox.h"
#include "profiles/dialog/OptionFrm.h"
#include "profiles/picker/ListMenu.h"
#include "profiles/store/ProfileEntry.h"
#include "shell/ErrorDisplay.h"
#include "tests/app/Fakes.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kestrova::test {

// Paths the drive service reports as lying on an optical disc: each listed folder and all
// below it.
class TFakeDriveInfo : public platform::TDriveInfo {
public:
    QStringList CdRomFolders;
    bool IsCdRom(const QString& path) override;
};

// One parameter's value list in a test profile.
struct TParameterValues {
    const char* Name;
    const char* Candidates;
    const char* Default;
};

// A profile file: Main's three values and the parameters listed.
QByteArray ProfileXml(const char* extensions, const char* fileFormat,
                      const std::vector<TParameterValues>& parameters, const char* disableVideo = "false");

// The MPEG-4 profile most tests load: every parameter with a few candidates and a default.
QByteArray Mp4ProfileXml();
TProfileEntry Mp4Entry();  // "MPEG-4 Video(*.mp4)" naming mp4.xml
TProfileEntry AviEntry();  // "AVI - Audio-Video Interleaved(*.avi)" naming avi.xml

class ProfileWindowsTest : public ::testing::Test {
protected:
    ProfileWindowsTest();
    ~ProfileWindowsTest() override;

    QString P() const { return FProgram; }  // the program folder, with trailing "/"
    QString ProfilesPath(const QString& relative) const { return FProgram + "profiles/" + relative; }
    void WriteFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& relative) const;
    bool Exists(const QString& relative) const;
    void WriteIndex(const QString& fileName, const std::vector<TProfileEntry>& entries) const;
    std::vector<TProfileEntry> ReadIndex(const QString& fileName) const;
    // Empty files with these names in the program folder's vhook/.
    void InstallHookModules(const QStringList& names) const;

    // The program's picker and a dialog over it, made on first use; the dialog's configured
    // output folder is OutputFolder.
    TListMenu& Picker();
    TfrmOption& Dialog();
    void DropDialog() { FDialog.reset(); }

    // A control of the dialog or the picker by its name; fails the test when there is none.
    template <class Widget>
    Widget* Find(QWidget& window, const QString& name) {
        auto* widget = window.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    template <class Widget>
    Widget* InDialog(const QString& name) {
        return Find<Widget>(Dialog(), name);
    }

    testing::TShellTestEnvironment Environment;
    TFakeDriveInfo& Drives() { return *FDrives; }
    QString OutputFolder;
    std::vector<TInformation> Informations;
    std::vector<TErrorNotice> Errors;

private:
    QTemporaryDir FTemp;
    QString FProgram;
    TFakeDriveInfo* FDrives;
    platform::TScopedService<platform::TDriveInfo> FDriveScope;
    TInformationHandler FPreviousInformation;
    TErrorDisplayHandler FPreviousErrors;
    std::unique_ptr<TListMenu> FPicker;
    std::unique_ptr<TfrmOption> FDialog;
};

// Saves a picture of the widget as <name>.png into the folder named by the environment
// variable KESTROVA_SCREENSHOTS, when it is set (a way to look at the windows).
void SaveScreenshot(QWidget& widget, const QString& name);

// Sends the pointer over a widget's point (moves it there for the widget's own tracking).
void MoveMouse(QWidget& widget, const QPoint& at);

}  // namespace kestrova::test
