#include "ui/skin/SkinPalette.h"

namespace kestrova::skin {

QPalette QueueListPalette(const QPalette& base) {
    QPalette palette = base;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, QColor(kListBase));
        palette.setColor(group, QPalette::AlternateBase, QColor(kListAlternateBase));
        palette.setColor(group, QPalette::Window, QColor(kListBase));
        palette.setColor(group, QPalette::Text, QColor(kListText));
        palette.setColor(group, QPalette::WindowText, QColor(kListText));
        palette.setColor(group, QPalette::Highlight, QColor(kListSelection));
        palette.setColor(group, QPalette::HighlightedText, QColor(kListSelectedText));
        palette.setColor(group, QPalette::Mid, QColor(kListGrid));
        palette.setColor(group, QPalette::Button, QColor(kListBase));
        palette.setColor(group, QPalette::ButtonText, QColor(kHeaderText));
    }
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(kMutedText));
    return palette;
}

}  // namespace kestrova::skin
