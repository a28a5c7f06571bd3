#pragma once
#include <QColor>
#include <QPalette>

namespace kestrova::skin {

// Colours drawn by code beside the skin's pictures, chosen to sit with them: the queue list's
// body under the dark header and scroll bars, and the texts on the header and the light faces.
inline constexpr QRgb kListBase = 0xFF141920;           // list rows
inline constexpr QRgb kListAlternateBase = 0xFF171D25;  // every other row
inline constexpr QRgb kListText = 0xFFD9DFE7;
inline constexpr int kListRowHeight = 20;
inline constexpr QRgb kListGrid = 0xFF222A35;
inline constexpr QRgb kAccent = 0xFFFF9A3C;         // the warm accent of the pictures
inline constexpr QRgb kListSelection = 0xFF2C3849;  // a lifted slate behind the selected row
inline constexpr QRgb kListSelectedText = 0xFFFFFFFF;
inline constexpr QRgb kHeaderText = 0xFFAEB8C6;
inline constexpr QRgb kHeaderHotText = 0xFFEEF1F5;
inline constexpr QRgb kFaceText = 0xFF1E293B;  // on the light combo and drop-button faces
inline constexpr QRgb kFaceDisabledText = 0xFF9AA5B4;
inline constexpr QRgb kCaptionText = 0xFFFFFFFF;  // the main window's title
inline constexpr QRgb kMutedText = 0xFF8C97A6;    // the shutdown check box
inline constexpr QRgb kMeterText = 0xFF5BD68A;    // the processor load

inline constexpr QRgb kDialogWindow = 0xFF1B222C;  // dialogs and message boxes
inline constexpr QRgb kDialogButton = 0xFF283241;
inline constexpr QRgb kIndicatorRim = 0xFF7A8699;  // drawn a shade darker by the style
inline constexpr QRgb kFailureText = 0xFFFF7A6B;   // why a row's conversion failed

// The queue list's palette: dark rows, light text, accent selection; the rest from base.
QPalette QueueListPalette(const QPalette& base);

// The palette of the dialogs opened over the skinned windows (message boxes, the file dialog,
// the general options): dark faces, light text, the accent for links and the focus.
QPalette DialogPalette(const QPalette& base);

// For radio buttons and check boxes on the dark dialogs: the style draws their rims a shade
// darker than the window colour, which would vanish on the dark panels.
QPalette IndicatorPalette(const QPalette& base);

// A read-only field's palette: its face the colour of the window around it, its text muted, so
// that it does not look like a box to type in.
QPalette ReadOnlyFieldPalette(const QPalette& base);

}  // namespace kestrova::skin
