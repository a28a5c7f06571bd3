#pragma once
#include <QRect>
#include <QSize>

namespace kestrova::skin {

// Where the output options dialog's controls go so that they sit in the cards and under the
// captions of its background (skin/icon/OutputOptions_bg.png). Client coordinates.
inline constexpr QSize kOutputOptionsSize{560, 400};

inline constexpr QRect kProfileComboRect{24, 42, 404, 26};   // cboProfile
inline constexpr QRect kSaveProfileRect{440, 42, 96, 26};    // btnSaveProfile
inline constexpr QRect kOutputFolderRect{24, 120, 340, 24};  // edtOutPath
inline constexpr QRect kBrowseFolderRect{372, 120, 78, 24};  // btnOutPath
inline constexpr QRect kOpenFolderRect{458, 120, 78, 24};    // btnOpenPath
// chkUseForRemaining: in the profile card's caption row, its right edge on the card's inner edge.
inline constexpr QRect kUseForRemainingRect{236, 20, 300, 20};
inline constexpr QRect kOkRect{372, 366, 80, 26};      // btnOk
inline constexpr QRect kCancelRect{460, 366, 80, 26};  // btnCancel

// The five video parameters fill the left card, the five audio parameters the right one, one
// row each from the top: a label and its drop-down list.
inline constexpr int kParameterRows = 5;
inline constexpr int kParameterFirstRowTop = 204;
inline constexpr int kParameterRowPitch = 29;
inline constexpr int kParameterRowHeight = 24;
inline constexpr int kVideoLabelLeft = 24;
inline constexpr int kVideoComboLeft = 118;
inline constexpr int kAudioLabelLeft = 296;
inline constexpr int kAudioComboLeft = 390;
inline constexpr int kParameterLabelWidth = 92;
inline constexpr int kParameterComboWidth = 146;

// The label and the combo of parameter row (0..4) in the video (left) or audio (right) card.
constexpr QRect ParameterLabelRect(bool audio, int row) {
    return {audio ? kAudioLabelLeft : kVideoLabelLeft, kParameterFirstRowTop + row * kParameterRowPitch,
            kParameterLabelWidth, kParameterRowHeight};
}

constexpr QRect ParameterComboRect(bool audio, int row) {
    return {audio ? kAudioComboLeft : kVideoComboLeft, kParameterFirstRowTop + row * kParameterRowPitch,
            kParameterComboWidth, kParameterRowHeight};
}

}  // namespace kestrova::skin
