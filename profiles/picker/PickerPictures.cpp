#include "profiles/picker/PickerPictures.h"

#include "profiles/picker/PickerColours.h"
#include "shell/Recolour.h"
#include "ui/skin/SkinPictures.h"

#include <QImage>

namespace kestrova {

QPixmap TPickerPictures::Picture(const QString& imageName) {
    if (imageName.isEmpty()) return {};
    auto found = FPictures.constFind(imageName);
    if (found == FPictures.constEnd())
        found = FPictures.insert(imageName, QPixmap(FPaths.IconFile(imageName)));
    return *found;
}

QPixmap TPickerPictures::GroupArrow() {
    QImage arrow(FPaths.IconFile(skin::kProfileArrow));
    RecolourImage(arrow, qRgb(255, 255, 255), picker::kListColour);
    return QPixmap::fromImage(arrow);
}

}  // namespace kestrova
