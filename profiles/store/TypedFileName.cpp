#include "profiles/store/TypedFileName.h"

namespace kestrova {

namespace {

bool HasFolderSeparator(const QString& name) {
    return name.contains(u'/') || name.contains(u'\\');
}

// The extension from the last dot on, as the user sees it ("" when there is no dot).
QString Extension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

}  // namespace

std::optional<QString> ProfileFileNameFromTyped(const QString& typed, QString& error) {
    error.clear();
    QString name = typed.trimmed();
    if (name.isEmpty()) return std::nullopt;
    if (HasFolderSeparator(name)) {
        error = QStringLiteral("\"%1\" is not a valid profile name: it must not contain \"/\" or \"\\\".")
                        .arg(name);
        return std::nullopt;
    }
    if (Extension(name).toLower() != QLatin1String(".xml")) name += QLatin1String(".xml");
    return name;
}

QString FileNameFromStem(const QString& stem) {
    QString name = stem;
    name.replace(u'/', u'_');
    name.replace(u'\\', u'_');
    return name;
}

}  // namespace kestrova
