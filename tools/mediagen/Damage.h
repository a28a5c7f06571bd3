#pragma once
// Damaged variants of a clip, made from the intact file in place.
#include <cstdint>
#include <string>

namespace kestrova::mediagen {

// kind: "empty" (zero bytes), "garbage" (random bytes, as long as the clip), "truncated"
// (cut at half its length) or "overwritten" (first kilobyte replaced by random bytes).
// The random bytes come from seed, so the same arguments give the same file.
void DamageFile(const std::string& path, const std::string& kind, uint32_t seed);

}  // namespace kestrova::mediagen
