#pragma once
// The texts and the track scale of the options dialog's preview: times, the source's frame
// rate and channel count, and how a source's duration maps onto the track bar.
#include <QString>

#include <cstdint>

namespace kestrova {

// Seconds with milliseconds: 83500000 microseconds give "83.500".
QString SecondsText(int64_t microseconds);

// Hours, minutes and seconds of the whole seconds in `microseconds`, as h:mm:ss: 83 s give
// "0:01:23", 3605 s "1:00:05".
QString HmsText(int64_t microseconds);

// A duration as h:mm:ss.mmm: 20025000 microseconds give "0:00:20.025".
QString DurationText(int64_t microseconds);

// A frame rate as a number: whole rates plainly ("25"), fractional ones with two decimals at
// most ("29.97" for 30000/1001, "12.5" for 25/2); "N/A" when the source gives none.
QString FrameRateText(int32_t numerator, int32_t denominator);

// "Auto", "Mono" and "Stereo" for 0, 1 and 2 channels, the count itself above that, "N/A"
// when unknown.
QString ChannelsText(int32_t channels);

// How track-bar units map to time: each unit is StepMicroseconds long, and the bar runs from
// 0 to Maximum (never more than 32767 units).
struct TTrackScale {
    int64_t StepMicroseconds = 10;
    int Maximum = 0;

    bool operator==(const TTrackScale&) const = default;
};

inline constexpr int kTrackUnitLimit = 32767;

// A step of 10 microseconds, multiplied by 10 until the duration fits into the unit limit.
// An unknown (negative) duration gives an empty bar.
TTrackScale TrackScaleFor(int64_t durationMicroseconds);

// Units moved by an arrow key: 1 up to a maximum of 100, 10 up to 1000, 100 up to 10000,
// else 1000.
int TrackLineSize(int maximum);

// Units between tick marks: about one tick per 10 pixels of the bar's track (its width less
// 12 pixels of ends).
int TrackTickInterval(int maximum, int trackWidth);

}  // namespace kestrova
