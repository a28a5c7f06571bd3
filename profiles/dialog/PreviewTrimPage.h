#pragma once
#include "profiles/dialog/PreviewTexts.h"
#include "profiles/dialog/TrimTrackBar.h"
#include "profiles/options/OptionChoices.h"

#include <QWidget>

#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace kestrova {

class TAVProbe;
class TCardGroup;
class TPreviewPicture;

// The options dialog's "Preview and Trim" page: a picture of the source at the track bar's
// position (decoded through the probe), the part to convert between the start and end
// markers, and the source's media information.
//
// Moving the track bar decodes at most one picture per pass of the event loop, always for the
// latest position, so a fast drag never queues up decodes.
class TPreviewTrimPage : public QWidget {
    Q_OBJECT

public:
    explicit TPreviewTrimPage(QWidget* parent = nullptr);

    // Takes the source the probe holds open: shows its media information, sets the track bar
    // up for its duration and decodes the picture at the start.
    void SetSource(TAVProbe& probe, const TSourceInfo& source);

    // The marked part, in microseconds, and whether "Cut Clip" asks for it (only while the
    // box is enabled, that is while the marked part is valid).
    TTrimChoice TrimChoice() const;
    // Marks a saved row's part again (after SetSource, on the same source's scale).
    void ShowTrim(const TTrimChoice& trim);

    // Pictures are decoded only while this is on and the probe still holds the source: the
    // dialog turns it off while hidden, when the probe may be given other files. Turning it
    // off also lets go of the picture; turning it on decodes it again.
    void SetDecoding(bool on);

    const TTrackScale& Scale() const { return FScale; }

signals:
    // A picture was decoded and shown for that track position.
    void PictureShown(int position);

private:
    void CreatePreviewCard();
    void CreateMediaInfoCard();
    QLabel* AddInfoRow(QWidget* card, const char* name, const QString& caption, int& top);
    void SetUpTrackBar(const std::string& formatShortName);
    void ShowMediaInfo(const TSourceInfo& source);

    void trcPreviewChange(int position);
    void ShowPicture();
    void btnStartTimeClick();
    void btnEndTimeClick();
    void trcPreviewMarkerMoved(TTrimTrackBar::TMarker marker, int value);
    void imgPreviewClick();
    void SelectionChanged();
    int64_t TimeOfPosition(int position) const;
    int PositionOfTime(int64_t time) const;
    bool ProbeHoldsSource() const;

    TAVProbe* FProbe = nullptr;
    std::string FSourceFile;
    bool FHasVideo = false;
    int64_t FDuration = -1;
    int64_t FFrameDuration = 0;
    TTrackScale FScale;
    bool FBusy = false;
    bool FDecoding = true;
    bool FSelectionSet = false;  // the user has placed a marker
    QTimer* FPictureTimer;

    TCardGroup* grpCutClip;
    TPreviewPicture* imgPreview;
    QLabel* lblPTS;
    TTrimTrackBar* trcPreview;
    QLabel* lblStartTime;
    QLabel* lblEndTime;
    QPushButton* btnStartTime;
    QLineEdit* edtStartTime;
    QPushButton* btnEndTime;
    QLineEdit* edtEndTime;
    QCheckBox* chkCutClip;

    TCardGroup* grpMediaInfo;
    QLabel* lblVSZ;
    QLabel* lblVFR;
    QLabel* lblVBR;
    QLabel* lblASR;
    QLabel* lblABR;
    QLabel* lblACH;
    QLabel* lblDuration;
};

}  // namespace kestrova
