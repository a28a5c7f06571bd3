#include "profiles/picker/PickerPictures.h"

#include "app/shell/Recolour.h"
#include "profiles/picker/PickerColours.h"
#include "ui/skin/SkinPictures.h"

#include <QImage>

namespace kestrova {

const QPixmap& TPickerPictures::Picture(const QString& imageName) {
    auto found = FPictures.find(imageName);
    if (found == FPictures.end())
        found = FPictures.insert(imageName,
                                 imageName.isEmpty() ? QPixmap() : QPixmap(FPaths.IconFile(imageName)));
    return *found;
}

QPixmap TPickerPictures::GroupArrow() {
    QImage arrow(FPaths.IconFile(skin::kProfileArrow));
    RecolourImage(arrow, qRgb(255, 255, 255), picker::kListColour);
    return QPixmap::fromImage(arrow);
}

}  // namespace kestrova
