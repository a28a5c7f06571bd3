#include "engine/core/options/VideoHookPeriods.h"

#include "engine/core/options/TimeLimits.h"

#include <algorithm>
#include <iterator>

namespace kestrova {

namespace {

// The latest time a period may name: where the time options end too.
constexpr int64_t kMaxPeriodMilliseconds = kMaxTimeValue / 1000;

// Reads the text from left to right.
class TPeriodsReader {
public:
    explicit TPeriodsReader(const std::string& text) : FText(text) {}

    bool AtEnd() {
        SkipBlanks();
        return FPosition == FText.size();
    }

    bool Take(char separator) {
        SkipBlanks();
        if (FPosition == FText.size() || FText[FPosition] != separator) return false;
        ++FPosition;
        return true;
    }

    // Whole milliseconds, as microseconds.
    bool TakeTime(int64_t& microseconds) {
        SkipBlanks();
        const std::size_t first = FPosition;
        int64_t milliseconds = 0;
        while (FPosition < FText.size() && FText[FPosition] >= '0' && FText[FPosition] <= '9') {
            milliseconds = milliseconds * 10 + (FText[FPosition] - '0');
            if (milliseconds > kMaxPeriodMilliseconds) return false;
            ++FPosition;
        }
        microseconds = milliseconds * 1000;
        return FPosition > first;
    }

private:
    void SkipBlanks() {
        while (FPosition < FText.size() && (FText[FPosition] == ' ' || FText[FPosition] == '\t')) ++FPosition;
    }

    const std::string& FText;
    std::size_t FPosition = 0;
};

}  // namespace

std::optional<TVideoHookPeriods> TVideoHookPeriods::Parse(const std::string& text) {
    TVideoHookPeriods periods;
    TPeriodsReader reader(text);
    if (reader.AtEnd()) return periods;
    int64_t previousEnd = 0;
    do {
        TPeriod period;
        if (!reader.TakeTime(period.Start) || !reader.Take('-') || !reader.TakeTime(period.End))
            return std::nullopt;
        // A period that ends before it starts, or starts before the one before it ends.
        if (period.End <= period.Start || period.Start < previousEnd) return std::nullopt;
        previousEnd = period.End;
        periods.FPeriods.push_back(period);
    } while (reader.Take(','));
    if (!reader.AtEnd()) return std::nullopt;
    return periods;
}

bool TVideoHookPeriods::Contains(int64_t microseconds) const {
    if (FPeriods.empty()) return true;
    // The last period that starts at or before the time.
    const auto after =
            std::upper_bound(FPeriods.begin(), FPeriods.end(), microseconds,
                             [](int64_t time, const TPeriod& period) { return time < period.Start; });
    return after != FPeriods.begin() && microseconds < std::prev(after)->End;
}

}  // namespace kestrova
