#pragma once
#include "profiles/store/StorePaths.h"

#include <QHash>
#include <QPixmap>

namespace kestrova {

// The pictures the picker shows, read once each from the skin's icon folder: many profiles
// share one picture, and "All Profiles" repeats every entry of the other groups.
class TPickerPictures {
public:
    explicit TPickerPictures(const TStorePaths& paths) : FPaths(paths) {}

    // The picture of that file name below skin/icon/; a null pixmap when there is none.
    QPixmap Picture(const QString& imageName);

    // The arrow at the right of each group, its white turned into the list colour so that
    // an arrow drawn on a white ground sits on the list without a box around it.
    QPixmap GroupArrow();

private:
    const TStorePaths& FPaths;
    QHash<QString, QPixmap> FPictures;
};

}  // namespace kestrova
