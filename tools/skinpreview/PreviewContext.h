#pragma once
#include <QDir>
#include <QPixmap>
#include <QString>

namespace kestrova::skinpreview {

// Where the pictures are read from (the program folder, ending with a separator) and where
// the previews are written.
struct TPreviewContext {
    QString ProgramFolder;
    QDir OutputFolder;

    QPixmap MainPicture(const QString& name) const;
    QPixmap IconPicture(const QString& name) const;
    // Writes a preview and names it on standard output; throws when it cannot.
    void Save(const QPixmap& picture, const QString& name) const;
};

}  // namespace kestrova::skinpreview
