#pragma once
// Damaged variants of a generated clip, made in memory from a seed: the same clip bytes, variant
// and seed always give the same damaged bytes, so a failing case is made again from what its
// message names. The random numbers come from std::mt19937 alone (its output is fixed by the
// standard, unlike the distributions'), so they are the same on every library.
#include <cstdint>
#include <string>
#include <vector>

namespace kestrova::robustness {

using TBytes = std::vector<char>;

TBytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const TBytes& bytes);

// What the variants are made from: the clip, another clip of the same kind made with other
// parameters (another picture size, sample rate or channel count) and a clip of another kind.
struct TVariantSources {
    TBytes Clip;
    TBytes SameKindOther;
    TBytes OtherKind;
};

struct TDamagedVariant {
    std::string Name;  // "truncated-2", "overwritten-1", ...
    uint32_t Seed = 0;
    TBytes Bytes;
};

// The names of the variants, in the order DamagedVariant takes their index.
const std::vector<std::string>& VariantNames();

// Variant `index` of VariantNames(), made with `seed`:
//   intact             the clip itself
//   truncated-0..4     cut at a random offset in the first 10 %, 10-35 %, 35-60 %, 60-85 %,
//                      85-100 % of the clip
//   overwritten-0..2   1 to 8 spots of 1 to 64 random bytes (any value, 0 and 255 included)
//   overwritten-head   the same within the first 512 bytes, where the headers are
//   zeroed-header      the first 16 bytes to 2 KiB set to zero
//   zeroed-middle      a 256 bytes to 4 KiB run inside the clip set to zero
//   swapped-chunks     2 to 4 pairs of chunks (256 bytes to 4 KiB) after the first chunk
//                      swapped
//   shuffled-chunks    every chunk in a random order
//   joined-same-kind   the clip followed by the other clip of its kind (a mid-stream change)
//   joined-other-kind  the clip followed by the clip of another kind
TDamagedVariant DamagedVariant(const TVariantSources& sources, std::size_t index, uint32_t seed);

}  // namespace kestrova::robustness
