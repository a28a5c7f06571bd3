#include "profiles/options/DiscTarget.h"

namespace kestrova {

int32_t DiscTargetOf(const QString& profileFormat) {
    const QLatin1String targets[] = {QLatin1String("vcd"), QLatin1String("svcd"), QLatin1String("dvd")};
    for (int32_t target = 1; target <= 3; ++target)
        if (profileFormat == targets[target - 1]) return target;
    return 0;
}

void FillDiscTarget(const TOptionChoices& choices, TOutputOptions& options) {
    options.Target = DiscTargetOf(choices.ProfileFormat);
    if (options.Target == 0) return;
    options.TargetNorm = static_cast<int32_t>(choices.Norm);
    options.TargetDefaultNorm =
            static_cast<int32_t>(choices.ProfileNorm == TNorm::Ntsc ? TNorm::Ntsc : TNorm::Pal);
    if (choices.Norm == TNorm::Auto || choices.Norm != choices.ProfileNorm) {
        options.FrameSize.clear();
        options.FrameRate.clear();
    }
}

}  // namespace kestrova
