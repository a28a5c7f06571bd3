#pragma once
// The rate-control override text ("rc_override"): items "start,end,q" separated by "/", each a
// frame range and either a fixed quantiser (q > 0) or a quality factor of -q percent (q <= 0).
#include "engine/frame/LibHeaders.h"

#include <string>
#include <vector>

namespace kestrova {

// Raises FFmpegException "error parsing rc_override" for an item that is not three integers.
// An empty text gives no items.
std::vector<RcOverride> ParseRateControlOverride(const std::string& text);

// Hands the items to an encoder context (replacing any it had); the context owns them.
void AttachRateControlOverride(AVCodecContext& codec, const std::vector<RcOverride>& items);

}  // namespace kestrova
