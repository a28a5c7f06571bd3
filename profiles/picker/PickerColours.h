#pragma once
#include <QRgb>

namespace kestrova::picker {

// The profile picker's colours: a sky-blue window whose background shows as the frame around
// and between its two light lists.
inline constexpr QRgb kWindowColour = 0xFFA6CAF0;
inline constexpr QRgb kListColour = 0xFFF1F5F9;
inline constexpr QRgb kHoverColour = 0xFFB8D8FA;     // the item under the mouse
inline constexpr QRgb kSelectedColour = 0xFF29A5D6;  // the selected item
inline constexpr QRgb kItemText = 0xFF000000;
inline constexpr QRgb kHighlightedItemText = 0xFFFFFFFF;  // on the hover and selection colours

}  // namespace kestrova::picker
