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
        // The rows' "Setting" links: the system's blue all but vanishes on the dark rows.
        palette.setColor(group, QPalette::Link, QColor(kAccent));
    }
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(kMutedText));
    return palette;
}

QPalette DialogPalette(const QPalette& base) {
    QPalette palette = base;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, QColor(kDialogWindow));
        palette.setColor(group, QPalette::WindowText, QColor(kListText));
        palette.setColor(group, QPalette::Base, QColor(kListBase));
        palette.setColor(group, QPalette::AlternateBase, QColor(kListAlternateBase));
        palette.setColor(group, QPalette::Text, QColor(kListText));
        palette.setColor(group, QPalette::Button, QColor(kDialogButton));
        palette.setColor(group, QPalette::ButtonText, QColor(kListText));
        palette.setColor(group, QPalette::Highlight, QColor(kAccent).darker(140));
        palette.setColor(group, QPalette::HighlightedText, QColor(kListSelectedText));
        palette.setColor(group, QPalette::Link, QColor(kAccent));
        palette.setColor(group, QPalette::ToolTipBase, QColor(kDialogButton));
        palette.setColor(group, QPalette::ToolTipText, QColor(kListText));
        palette.setColor(group, QPalette::PlaceholderText, QColor(kMutedText));
        palette.setColor(group, QPalette::Light, QColor(kDialogButton).lighter(130));
        palette.setColor(group, QPalette::Midlight, QColor(kDialogButton).lighter(115));
        palette.setColor(group, QPalette::Mid, QColor(kListGrid).lighter(130));
        palette.setColor(group, QPalette::Dark, QColor(kListBase));
        palette.setColor(group, QPalette::Shadow, QColor(0xFF0A0D11));
    }
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(kMutedText));
    return palette;
}

QPalette IndicatorPalette(const QPalette& base) {
    QPalette palette = base;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Window, QColor(kIndicatorRim));
    return palette;
}

QPalette ReadOnlyFieldPalette(const QPalette& base) {
    // Two thirds of the text's colour, one third of the window's.
    const auto muted = [](const QColor& text, const QColor& window) {
        return QColor((2 * text.red() + window.red()) / 3, (2 * text.green() + window.green()) / 3,
                      (2 * text.blue() + window.blue()) / 3);
    };
    QPalette palette = base;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor window = base.color(group, QPalette::Window);
        palette.setColor(group, QPalette::Base, window);
        palette.setColor(group, QPalette::Text, muted(base.color(group, QPalette::Text), window));
    }
    return palette;
}

}  // namespace kestrova::skin
