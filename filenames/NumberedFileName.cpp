#include "filenames/NumberedFileName.h"

#include <QFileInfo>

namespace kestrova {

namespace {

// Splits "dir/name.ext" into "dir/name" and ".ext"; a dot inside a folder name is not an extension.
void SplitExtension(const QString& path, QString& base, QString& extension) {
    const int dot = path.lastIndexOf(u'.');
    const int separator = path.lastIndexOf(u'/');
    if (dot > separator && dot >= 0) {
        base = path.left(dot);
        extension = path.mid(dot);
    } else {
        base = path;
        extension.clear();
    }
}

}  // namespace

QString NumberedFileName(const QString& path, const QString& extension) {
    QString base;
    QString ext;
    if (extension.isEmpty())
        SplitExtension(path, base, ext);
    else {
        base = path;
        ext = extension;
    }

    int number = 1;
    if (base.size() >= 2 && base.at(base.size() - 2) == u'-') {
        const QChar last = base.back();
        number = last.isDigit() && last.unicode() < 128 ? last.digitValue() : -1;
        base.chop(1);
    } else {
        base += u'-';
    }

    while (QFileInfo::exists(base + QString::number(number) + ext)) ++number;
    return base + QString::number(number) + ext;
}

}  // namespace kestrova
