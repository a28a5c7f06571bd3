// The desktop entry the build lays out in share/: it starts this build's program with the
// chosen files, and offers it for every input format a file manager may hand it.
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMimeDatabase>

#include <gtest/gtest.h>

#include <algorithm>

namespace kestrova::testing {

namespace {

// The keys of the entry's [Desktop Entry] group, values as written.
QMap<QString, QString> DesktopEntry() {
    QFile file(QStringLiteral(KESTROVA_DESKTOP_ENTRY));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << KESTROVA_DESKTOP_ENTRY;
    QMap<QString, QString> keys;
    bool inGroup = false;
    for (const QByteArray& rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'[')) inGroup = line == QStringLiteral("[Desktop Entry]");
        const qsizetype equals = line.indexOf(u'=');
        if (inGroup && equals > 0) keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

}  // namespace

TEST(DesktopEntryTest, StartsThisBuildsProgramWithTheChosenFiles) {
    const QMap<QString, QString> entry = DesktopEntry();
    EXPECT_EQ(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    const QString exec = entry.value(QStringLiteral("Exec"));
    ASSERT_TRUE(exec.endsWith(QStringLiteral(" %F"))) << exec.toStdString();
    QString program = exec.chopped(3);
    if (program.startsWith(u'"')) program = program.mid(1).chopped(1);
    EXPECT_EQ(program, QStringLiteral(KESTROVA_PROGRAM_DIR) + QStringLiteral("kestrova"));
    EXPECT_EQ(entry.value(QStringLiteral("Icon")), QStringLiteral("kestrova"));
}

TEST(DesktopEntryTest, OffersTheProgramForEveryInputFormat) {
    const QStringList offered =
            DesktopEntry().value(QStringLiteral("MimeType")).split(u';', Qt::SkipEmptyParts);
    const QMimeDatabase types;
    for (const char* extension : {"flv", "f4v", "mp4", "mp3", "wma", "wav"}) {
        const QMimeType type = types.mimeTypeForFile(QStringLiteral("clip.") + QLatin1String(extension),
                                                     QMimeDatabase::MatchExtension);
        QStringList names = type.aliases();
        names << type.name();
        const bool found = std::any_of(names.begin(), names.end(),
                                       [&](const QString& name) { return offered.contains(name); });
        EXPECT_TRUE(found) << extension << " is " << type.name().toStdString();
    }
}

}  // namespace kestrova::testing
