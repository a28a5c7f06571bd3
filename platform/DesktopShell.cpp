#include "platform/DesktopShell.h"

#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace kestrova::platform {

namespace {

constexpr auto kFileManagerService = "org.freedesktop.FileManager1";
constexpr auto kFileManagerPath = "/org/freedesktop/FileManager1";
constexpr auto kFileManagerInterface = "org.freedesktop.FileManager1";
// A file manager started on demand answers within a few seconds; a hung one must not
// freeze the window for long.
constexpr int kFileManagerTimeoutMs = 5000;

bool HasScheme(const QString& target) {
    // Two characters at least before the colon, so that "C:" style names are not schemes.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(target).hasMatch();
}

}  // namespace

QUrl ShellTargetUrl(const QString& target) {
    if (target.isEmpty()) return {};
    if (!QFileInfo::exists(target) && HasScheme(target)) return QUrl(target, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

TDesktopShell::TDesktopShell(const QDBusConnection& bus) : FBus(bus) {}

QDBusConnection TDesktopShell::Bus() const {
    return FBus ? *FBus : QDBusConnection::sessionBus();
}

bool TDesktopShell::Open(const QString& target) {
    const QUrl url = ShellTargetUrl(target);
    return url.isValid() && OpenUrl(url);
}

bool TDesktopShell::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool TDesktopShell::ShowItem(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo item(path);
    const QDBusConnection bus = Bus();
    if (bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
                QString::fromLatin1(kFileManagerService), QString::fromLatin1(kFileManagerPath),
                QString::fromLatin1(kFileManagerInterface), QStringLiteral("ShowItems"));
        call << QStringList{QUrl::fromLocalFile(item.absoluteFilePath()).toString()} << QString();
        const QDBusMessage reply = bus.call(call, QDBus::Block, kFileManagerTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage) return true;
    }
    // No file manager on the bus: its folder is the next best thing.
    return Open(item.absolutePath());
}

}  // namespace kestrova::platform
