#include "app/settings/Settings.h"

#include "app/settings/IniFile.h"
#include "engine/frame/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>
#include <utility>

namespace kestrova {

namespace {

const QString kSection = QStringLiteral("general");
const QString kProcessesKey = QStringLiteral("processes");
const QString kPriorityKey = QStringLiteral("priority");
const QString kOutputFolderKey = QStringLiteral("outputfolder");

const GeneralSettings kDefaults;

} // namespace

SettingsStore::SettingsStore(QString filePath) : filePath_(std::move(filePath)) {}

void SettingsStore::Load()
{
    values_ = kDefaults;
    if (!QFileInfo::exists(filePath_))
        return;
    const IniFile ini = IniFile::Load(filePath_);
    values_.processes = ini.ReadInteger(kSection, kProcessesKey, kDefaults.processes);
    // Kept in one byte, as the priority index always was.
    values_.priority = static_cast<quint8>(ini.ReadInteger(kSection, kPriorityKey, kDefaults.priority));
    values_.outputFolder = ini.ReadString(kSection, kOutputFolderKey, kDefaults.outputFolder);
    if (!values_.outputFolder.endsWith(u'/'))
        values_.outputFolder += u'/';
}

void SettingsStore::Save() const
{
    IniFile ini = IniFile::Load(filePath_);
    ini.WriteInteger(kSection, kProcessesKey, values_.processes);
    ini.WriteInteger(kSection, kPriorityKey, values_.priority);
    ini.WriteString(kSection, kOutputFolderKey, values_.outputFolder);
    if (!ini.Save(filePath_))
        throw std::runtime_error(
            QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(filePath_)).toStdString());
}

QString SettingsFilePath()
{
    return QString::fromStdString(ProgramFolder()) + QStringLiteral("Setting.ini");
}

SettingsStore& AppSettings()
{
    static SettingsStore settings = [] {
        SettingsStore loaded(SettingsFilePath());
        loaded.Load();
        return loaded;
    }();
    return settings;
}

} // namespace kestrova
