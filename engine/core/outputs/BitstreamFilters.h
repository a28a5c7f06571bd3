#pragma once
// Bitstream filter chains of a job, one per kind (video, audio, subtitle). A filter is looked
// up and allocated when its option is applied; it is initialised when the output stream it
// belongs to is known.
#include "engine/frame/LibPtr.h"

#include <string>
#include <vector>

namespace kestrova {

struct TBitstreamFilter {
    BsfPtr Context;
    std::string Arguments;  // the text after "=" in the option value (empty when none)
};

using TBitstreamFilterChain = std::vector<TBitstreamFilter>;

// Appends the filter named by `value` up to its first "=" to the tail of `chain`. A value that
// starts with "=" is ignored. An unknown name raises "Unknown bitstream filter %s".
void AppendBitstreamFilter(TBitstreamFilterChain& chain, const std::string& value);

}  // namespace kestrova
