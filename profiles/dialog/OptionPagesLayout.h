#pragma once
// Where the options dialog's further pages put their cards and controls. The cards match the
// page pictures (skin/icon/OutputPreview_bg.png, OutputEffects_bg.png, OutputHooks_bg.png,
// drawn from data/skin/pictures/output_*_bg.svg); controls are placed inside their card.
#include <QLatin1String>
#include <QRect>

namespace kestrova::optionpages {

inline constexpr QLatin1String kPreviewBackground{"OutputPreview_bg.png"};
inline constexpr QLatin1String kEffectsBackground{"OutputEffects_bg.png"};
inline constexpr QLatin1String kHooksBackground{"OutputHooks_bg.png"};

// Every page lies above the footer band, which holds the page tabs and OK and Cancel.
inline constexpr QRect kPageArea{0, 0, 560, 360};
inline constexpr QPoint kTabsAt{12, 366};
// The height of a check box, radio button or edit in a card.
inline constexpr int kRowHeight = 24;

// Preview and Trim, with the source's media information beside it.
inline constexpr QRect kPreviewCard{12, 12, 352, 339};
inline constexpr QRect kMediaInfoCard{372, 12, 176, 339};
// Inside the preview card: a 16:9 picture, the track bar, the times of the two markers with
// the time of the picture between them, the marker buttons and "Cut Clip".
inline constexpr QRect kPreviewPicture{16, 36, 320, 180};
inline constexpr QRect kTrackBar{8, 222, 336, 32};
inline constexpr QRect kStartTimeLabel{12, 254, 100, 16};
inline constexpr QRect kPtsLabel{112, 254, 128, 16};
inline constexpr QRect kEndTimeLabel{240, 254, 100, 16};
inline constexpr QRect kSetStartButton{12, 280, 72, 24};
inline constexpr QRect kStartTimeEdit{88, 280, 64, 24};
inline constexpr QRect kSetEndButton{200, 280, 72, 24};
inline constexpr QRect kEndTimeEdit{276, 280, 64, 24};
inline constexpr QRect kCutClipCheck{12, 312, 200, 20};
// Inside the media information card: one row per value, the caption left and the value right.
inline constexpr int kInfoFirstRow = 40;
inline constexpr int kInfoRowPitch = 24;
inline constexpr int kInfoGroupGap = 14;  // between the video, audio and file rows
inline constexpr int kInfoLeft = 12;
inline constexpr int kInfoWidth = 152;

// Effects: the filters, crop and pad, the TV norm and the timestamps.
inline constexpr QRect kFilterCard{12, 12, 264, 272};
inline constexpr QRect kCropPadCard{284, 12, 264, 132};
inline constexpr QRect kNormCard{284, 152, 264, 132};
inline constexpr QRect kTimestampCard{12, 292, 536, 59};
inline constexpr int kFilterRowPitch = 38;
inline constexpr int kFilterEditLeft = 128;
inline constexpr int kFilterEditWidth = 124;
inline constexpr int kBandFirstLeft = 84;  // crop and pad: the top edit, then bottom, left, right
inline constexpr int kBandPitch = 44;
inline constexpr int kBandWidth = 40;

// Video hooks.
inline constexpr QRect kHookCard{12, 12, 536, 339};
inline constexpr int kHookModeTop = 36;
inline constexpr int kHookRowsTop = 102;  // below the card's second rule (at 92)
inline constexpr int kHookRowPitch = 28;
inline constexpr int kHookSecondColumn = 190;
inline constexpr int kHookThirdColumn = 402;
// Below the third rule (at 248): when the hooks run, in two rows.
inline constexpr int kHookBehaviourTop = 256;
inline constexpr int kHookNoteTop = 318;

}  // namespace kestrova::optionpages
