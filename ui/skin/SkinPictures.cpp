#include "ui/skin/SkinPictures.h"

#include "ui/skin/XGraphic.h"

namespace kestrova::skin {

namespace {

QLatin1String StateSuffix(TButtonState state) {
    switch (state) {
        case TButtonState::Normal:
            return QLatin1String("_normal.png");
        case TButtonState::Over:
            return QLatin1String("_over.png");
        case TButtonState::Click:
            return QLatin1String("_click.png");
        case TButtonState::Disabled:
            return QLatin1String("_disabled.png");
    }
    return QLatin1String("_normal.png");
}

QPixmap LoadState(const QString& folder, QLatin1String stem, TButtonState state) {
    return QPixmap(folder + ButtonPictureName(stem, state));
}

}  // namespace

QString ButtonPictureName(QLatin1String stem, TButtonState state) {
    return stem + StateSuffix(state);
}

TButtonPictures LoadButtonPictures(const QString& programFolder, QLatin1String stem) {
    const QString folder = programFolder + kMainFolder;
    const bool captionButton = stem == kButtonClose || stem == kButtonMinimise;
    return {LoadState(folder, stem, TButtonState::Normal), LoadState(folder, stem, TButtonState::Over),
            LoadState(folder, stem, TButtonState::Click),
            captionButton ? QPixmap() : LoadState(folder, stem, TButtonState::Disabled)};
}

void ApplyButtonPictures(TXGraphic& button, const TButtonPictures& pictures) {
    button.SetPictureOver(pictures.Over);
    button.SetPictureClick(pictures.Click);
    button.SetPictureDisabled(pictures.Disabled);
    button.SetPictureNormal(pictures.Normal);
}

QIcon LoadProgramIcon(const QString& programFolder) {
    QIcon icon;
    for (const int size : kProgramIconSizes)
        icon.addFile(programFolder + kSkinFolder + QStringLiteral("kestrova-%1.png").arg(size),
                     QSize(size, size));
    return icon;
}

}  // namespace kestrova::skin
