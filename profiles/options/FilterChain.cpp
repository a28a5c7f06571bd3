#include "profiles/options/FilterChain.h"

#include "profiles/options/TextNumbers.h"

#include <vector>

namespace kestrova {

namespace {

constexpr int32_t kDefaultRotation = 45;  // degrees

// The rotate filter takes radians, while the rotation is chosen in degrees.
std::string RotateFilter(const QString& degreesText) {
    const int32_t degrees = WholeInteger(degreesText.trimmed()).value_or(kDefaultRotation);
    return "rotate=" + std::to_string(degrees) + "*PI/180";
}

}  // namespace

std::string BuildFilterChain(const TVideoFilterChoices& filters) {
    std::vector<std::string> chain;
    if (filters.VertFlip) chain.emplace_back("vflip");
    if (filters.HoriFlip) chain.emplace_back("hflip");
    if (filters.Negate) chain.emplace_back("negate");
    if (filters.Scale && !filters.ScaleText.trimmed().isEmpty())
        chain.push_back("scale=" + filters.ScaleText.trimmed().toStdString());
    if (filters.Rotate) chain.push_back(RotateFilter(filters.RotateText));
    if (filters.SetPts && !filters.SetPtsText.trimmed().isEmpty())
        chain.push_back("setpts=" + filters.SetPtsText.trimmed().toStdString());

    std::string joined;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (i > 0) joined += ',';
        joined += chain[i];
    }
    return joined;
}

}  // namespace kestrova
