#pragma once
#include <QString>
#include <QtGlobal>

namespace kestrova {

// The user's general settings.
struct TGeneralSettings {
    int Processes = 3;     // conversions run at once; 0 or less runs them one by one in the window's thread
    quint8 Priority = 0;   // the chosen "Priority in running background" item, 0..3
    QString OutputFolder;  // as configured; resolve it before use (ResolveOutputFolder)
};

// The general settings together with the INI file that keeps them (section "general", keys
// "processes", "priority", "outputfolder"). Other sections and keys of the file are kept.
class TSettingsStore {
public:
    explicit TSettingsStore(QString filePath);

    const QString& FilePath() const { return FFilePath; }
    TGeneralSettings& Values() { return FValues; }
    const TGeneralSettings& Values() const { return FValues; }

    // Reads the file; without one the defaults apply. A missing key takes its default; the
    // output folder gets a trailing separator (an empty one thus becomes "/", which resolves
    // like an empty folder).
    void Load();

    // Writes the three keys, in their order, into the file (created when missing).
    // Throws std::runtime_error "Unable to write to <path>" when the file cannot be written.
    void Save() const;

private:
    QString FFilePath;
    TGeneralSettings FValues;
};

// "Setting.ini" in the program's config folder: beside a portable program, else the user's
// XDG config folder (ProgramLayout).
QString SettingsFilePath();

// The process-wide settings, loaded from the settings file on first use. Main thread only.
TSettingsStore& AppSettings();

}  // namespace kestrova
