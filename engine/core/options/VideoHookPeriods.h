#pragma once
// The periods of the output's timeline in which the video hooks run ("vhookperiods"): whole
// milliseconds from the output's start, written "start-end" and separated by commas, in
// ascending order and not overlapping ("0-5000,10000-15000"). A period holds its start and ends
// just before its end, so periods may touch. No period at all means the whole duration.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

class TVideoHookPeriods {
public:
    // The periods of a text; blanks around the numbers and separators are allowed, and a blank
    // text gives the whole duration. Nullopt when the text is not such a list.
    static std::optional<TVideoHookPeriods> Parse(const std::string& text);

    // Whether the hooks run on a picture at that time (microseconds of the output's timeline).
    // A search over the periods: nothing is allocated.
    bool Contains(int64_t microseconds) const;

private:
    struct TPeriod {
        int64_t Start = 0;  // microseconds
        int64_t End = 0;    // microseconds, the first after the period
    };
    std::vector<TPeriod> FPeriods;  // ascending
};

}  // namespace kestrova
