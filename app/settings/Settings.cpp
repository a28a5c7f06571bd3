#include "app/settings/Settings.h"

#include "app/settings/IniFile.h"
#include "engine/frame/ProgramLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>
#include <utility>

namespace kestrova {

namespace {

const QString kSection = QStringLiteral("general");
const QString kProcessesKey = QStringLiteral("processes");
const QString kPriorityKey = QStringLiteral("priority");
const QString kOutputFolderKey = QStringLiteral("outputfolder");

const TGeneralSettings kDefaults;

}  // namespace

TSettingsStore::TSettingsStore(QString filePath) : FFilePath(std::move(filePath)) {}

void TSettingsStore::Load() {
    FValues = kDefaults;
    if (!QFileInfo::exists(FFilePath)) return;
    const TIniFile ini = TIniFile::Load(FFilePath);
    FValues.Processes = ini.ReadInteger(kSection, kProcessesKey, kDefaults.Processes);
    // Kept in one byte, as the priority index always was.
    FValues.Priority = static_cast<quint8>(ini.ReadInteger(kSection, kPriorityKey, kDefaults.Priority));
    FValues.OutputFolder = ini.ReadString(kSection, kOutputFolderKey, kDefaults.OutputFolder);
    if (!FValues.OutputFolder.endsWith(u'/')) FValues.OutputFolder += u'/';
}

void TSettingsStore::Save() const {
    TIniFile ini = TIniFile::Load(FFilePath);
    ini.WriteInteger(kSection, kProcessesKey, FValues.Processes);
    ini.WriteInteger(kSection, kPriorityKey, FValues.Priority);
    ini.WriteString(kSection, kOutputFolderKey, FValues.OutputFolder);
    // The user's config folder is made by the first save.
    QDir().mkpath(QFileInfo(FFilePath).absolutePath());
    if (!ini.Save(FFilePath))
        throw std::runtime_error(QStringLiteral("Unable to write to %1")
                                         .arg(QDir::toNativeSeparators(FFilePath))
                                         .toStdString());
}

QString SettingsFilePath() {
    return QFile::decodeName(QByteArray::fromStdString(ProgramLayout().ConfigFolder)) +
           QStringLiteral("Setting.ini");
}

TSettingsStore& AppSettings() {
    static TSettingsStore settings = [] {
        TSettingsStore loaded(SettingsFilePath());
        loaded.Load();
        return loaded;
    }();
    return settings;
}

}  // namespace kestrova
