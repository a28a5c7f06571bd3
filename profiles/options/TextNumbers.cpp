#include "profiles/options/TextNumbers.h"

#include <QString>

#include <cmath>
#include <limits>

namespace kestrova {

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The leading number of `text`: its value and whether any digit was read.
struct TLeadingNumber {
    int64_t Value = 0;
    bool HasDigits = false;
    qsizetype End = 0;  // where the number stops
};

TLeadingNumber ReadLeadingNumber(QStringView text) {
    TLeadingNumber number;
    qsizetype at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) negative = text[at++] == u'-';
    constexpr int64_t kBeyond = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        number.HasDigits = true;
        // Past the 32-bit range the value only needs to stay past it.
        if (number.Value < kBeyond) number.Value = number.Value * 10 + (text[at].unicode() - u'0');
    }
    if (negative) number.Value = -number.Value;
    number.End = at;
    return number;
}

int32_t Saturated(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t IntegerValue(QStringView text) {
    return Saturated(ReadLeadingNumber(text).Value);
}

bool HasIntegerValue(QStringView text) {
    return ReadLeadingNumber(text).HasDigits;
}

std::optional<int32_t> WholeInteger(QStringView text) {
    const TLeadingNumber number = ReadLeadingNumber(text);
    qsizetype at = number.End;
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (!number.HasDigits || at != text.size() || number.Value != Saturated(number.Value))
        return std::nullopt;
    return static_cast<int32_t>(number.Value);
}

std::optional<double> WholeDecimal(QStringView text) {
    const QString trimmed = text.toString().trimmed();
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace kestrova
