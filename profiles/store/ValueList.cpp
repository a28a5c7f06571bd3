#include "profiles/store/ValueList.h"

namespace kestrova {

QStringList SplitValues(const QString& text, QChar separator) {
    QStringList items;
    qsizetype start = 0;
    for (qsizetype at = text.indexOf(separator); at >= 0; at = text.indexOf(separator, start)) {
        items.append(text.mid(start, at - start));
        start = at + 1;
    }
    items.append(text.mid(start));
    return items;
}

}  // namespace kestrova
