#include "app/settings/IntegerText.h"

#include <stdexcept>

namespace kestrova {

std::optional<int> ParseInteger(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    int value = 0;
    if (trimmed.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        value = trimmed.mid(2).toInt(&ok, 16);
    else if (!trimmed.isEmpty() &&
             (trimmed.front().isDigit() || trimmed.front() == u'-' || trimmed.front() == u'+'))
        value = trimmed.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

int IntegerOfText(const QString& text) {
    if (const std::optional<int> value = ParseInteger(text)) return *value;
    throw std::runtime_error(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
}

}  // namespace kestrova
