#pragma once
#include "platform/Shell.h"

#include <QDBusConnection>
#include <QUrl>

#include <optional>

namespace kestrova::platform {

// The freedesktop shell: targets open through the XDG associations (QDesktopServices), files
// are shown through the file manager's D-Bus interface, or by opening their folder when no
// file manager answers.
class TDesktopShell : public TShell {
public:
    TDesktopShell() = default;
    // Talks to the file manager over the given bus instead of the session bus.
    explicit TDesktopShell(const QDBusConnection& bus);

    bool Open(const QString& target) override;
    bool ShowItem(const QString& path) override;

protected:
    // The single place where a URL leaves the program.
    virtual bool OpenUrl(const QUrl& url);

private:
    QDBusConnection Bus() const;

    std::optional<QDBusConnection> FBus;
};

// The URL for a shell target: an existing or plain path becomes a file URL of its absolute
// path (so '#', '%' and blanks stay part of the name); "scheme:..." text is taken as an address.
QUrl ShellTargetUrl(const QString& target);

}  // namespace kestrova::platform
