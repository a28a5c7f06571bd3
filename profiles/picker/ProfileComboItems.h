#pragma once
// The two items a profile combo holds once a profile is chosen: item 0 the display name with
// a picture, item 1 the full path of the profile file. The combo shows item 0; item 1 tells
// the options dialog which file to load.
#include <QIcon>
#include <QString>

class QComboBox;

namespace kestrova {

void FillProfileCombo(QComboBox& combo, const QString& profileName, const QIcon& picture,
                      const QString& profilePath);

// The path of item 1; empty while the combo holds no chosen profile.
QString ProfileComboPath(const QComboBox& combo);

}  // namespace kestrova
