#pragma once
#include <QIcon>
#include <QLatin1String>
#include <QPixmap>
#include <QString>

namespace kestrova {
class TXGraphic;
}

namespace kestrova::skin {

// The skin's pictures, drawn at build time from data/skin into the program folder's skin/
// folder. Names are relative to the program folder (which ends with a separator).
//
// skin/main: the main window (800 x 500 client area)
//   main_bg.png        800 x 500  whole background: title bar (title text goes at (27,4)),
//                                 command bar y 21..90, run row, the queue's well around
//                                 (24,145) 754 x 314, status line
//   start_panel.png    752 x 312  getting-started picture at (25,146); its round orange plus
//                                 fills the add hot spot (206,62)-(242,98)
//   header.png         120 x 18   list header strip, cells in TSkinHeader (SkinHeader.h)
//   scrollbar.png      272 x 17   scroll-bar strip, cells in kQueueStripCells (CoolSB.h)
//   <button>_<state>.png          one picture per button and state, see kButton* below:
//                                 add 78 x 69; remove, clear, options, help, download 80 x 69;
//                                 start, stop, pause, up, down, location 42 x 42;
//                                 close, minimise 22 x 21
// skin/icon: the dialogs and the profile picker
//   group_*.png         16 x 16   one per group of the built-in group list
//   profile_*.png       32 x 32   one per profileimage of the group list
//   group_recent.png    16 x 16   the "Recent" group (also the combo's picture of a recent profile)
//   profile_arrow.png   12 x 12   the arrow at the right of each group in the picker
//   profile_bg.png      64 x 104  face of the profile combo and the Save As button, four
//                                 states in TSkinFace (SkinFace.h)
//   list_scrollbar.png 204 x 17   the picker's scroll-bar strip (vertical cells of
//                                 kQueueStripCells, in light colours: kPickerStripCells)
//   Options_bg.png     445 x 289  general options dialog background
//   OutputOptions_bg.png 560 x 400 output options dialog background; its cards match the
//                                 control places in OutputOptionsLayout.h
// skin: the program's icon
//   kestrova.svg, kestrova-16.png, kestrova-32.png, kestrova-48.png, kestrova-256.png
//
// Pictures carry transparency wherever what lies below should show (button faces at rest,
// icon corners). Colours for texts the windows draw beside them are in SkinPalette.h.

inline constexpr QLatin1String kMainFolder{"skin/main/"};
inline constexpr QLatin1String kIconFolder{"skin/icon/"};
inline constexpr QLatin1String kSkinFolder{"skin/"};

inline constexpr QLatin1String kMainBackground{"main_bg.png"};
inline constexpr QLatin1String kStartPanel{"start_panel.png"};
inline constexpr QLatin1String kHeaderStrip{"header.png"};
inline constexpr QLatin1String kScrollBarStrip{"scrollbar.png"};

inline constexpr QLatin1String kProfileFace{"profile_bg.png"};
inline constexpr QLatin1String kProfileArrow{"profile_arrow.png"};
inline constexpr QLatin1String kRecentGroupPicture{"group_recent.png"};
inline constexpr QLatin1String kPickerScrollBarStrip{"list_scrollbar.png"};
inline constexpr QLatin1String kGeneralOptionsBackground{"Options_bg.png"};
inline constexpr QLatin1String kOutputOptionsBackground{"OutputOptions_bg.png"};

inline constexpr QLatin1String kProgramIconSvg{"kestrova.svg"};
inline constexpr int kProgramIconSizes[] = {16, 32, 48, 256};  // kestrova-<size>.png

// Button picture stems: the file of a state is "<stem>_<state>.png" in skin/main.
inline constexpr QLatin1String kButtonAdd{"add"};
inline constexpr QLatin1String kButtonRemove{"remove"};
inline constexpr QLatin1String kButtonClear{"clear"};
inline constexpr QLatin1String kButtonOptions{"options"};
inline constexpr QLatin1String kButtonHelp{"help"};
inline constexpr QLatin1String kButtonDownload{"download"};
inline constexpr QLatin1String kButtonStart{"start"};
inline constexpr QLatin1String kButtonStop{"stop"};
inline constexpr QLatin1String kButtonPause{"pause"};
inline constexpr QLatin1String kButtonUp{"up"};
inline constexpr QLatin1String kButtonDown{"down"};
inline constexpr QLatin1String kButtonLocation{"location"};
inline constexpr QLatin1String kButtonClose{"close"};        // no disabled picture
inline constexpr QLatin1String kButtonMinimise{"minimise"};  // no disabled picture

// The pictures of TXGraphic, by the property each one fills.
enum class TButtonState { Normal, Over, Click, Disabled };

// "<stem>_normal.png", "_over", "_click", "_disabled".
QString ButtonPictureName(QLatin1String stem, TButtonState state);

struct TButtonPictures {
    QPixmap Normal;
    QPixmap Over;
    QPixmap Click;
    QPixmap Disabled;  // stays empty for the caption buttons, which are never disabled
};

// Reads a button's state pictures from programFolder + "skin/main/".
TButtonPictures LoadButtonPictures(const QString& programFolder, QLatin1String stem);

// Gives a button its four pictures. Setting PictureNormal also shows it, so give a button its
// pictures before its first SetEnabled(false), which then shows the disabled one.
void ApplyButtonPictures(TXGraphic& button, const TButtonPictures& pictures);

// The window icon in every drawn size, from programFolder + "skin/".
QIcon LoadProgramIcon(const QString& programFolder);

}  // namespace kestrova::skin
