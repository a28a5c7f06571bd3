#include "profiles/picker/ProfileComboItems.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace kestrova {

void FillProfileCombo(QComboBox& combo, const QString& profileName, const QIcon& picture,
                      const QString& profilePath) {
    const QSignalBlocker blocker(combo);
    combo.clear();
    combo.addItem(picture, profileName);
    combo.addItem(profilePath);
    combo.setCurrentIndex(0);
    combo.setToolTip(profileName);
}

QString ProfileComboPath(const QComboBox& combo) {
    return combo.count() > 1 ? combo.itemText(1) : QString();
}

}  // namespace kestrova
