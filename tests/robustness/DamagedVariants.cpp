#include "tests/robustness/DamagedVariants.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kestrova::robustness {

namespace {

class TRandom {
public:
    explicit TRandom(uint32_t seed) : FEngine(seed) {}
    // A number from `low` to `high`, both included.
    std::size_t Between(std::size_t low, std::size_t high) { return low + FEngine() % (high - low + 1); }
    char Byte() { return static_cast<char>(FEngine() & 0xFF); }
    std::mt19937& Engine() { return FEngine; }

private:
    std::mt19937 FEngine;
};

constexpr std::size_t kHeaderBytes = 512;

TBytes Truncated(const TBytes& clip, int fromPercent, int toPercent, uint32_t seed) {
    TRandom random(seed);
    const std::size_t from = clip.size() * fromPercent / 100;
    std::size_t to = clip.size() * toPercent / 100;
    if (to > from) --to;  // the whole clip is not a truncation
    return TBytes(clip.begin(), clip.begin() + static_cast<std::ptrdiff_t>(random.Between(from, to)));
}

// Random bytes over 1 to 8 spots of 1 to 64 bytes, all within the first `span` bytes.
TBytes Overwritten(const TBytes& clip, std::size_t span, uint32_t seed) {
    TRandom random(seed);
    TBytes bytes = clip;
    span = std::min(span, bytes.size());
    if (span == 0) return bytes;
    const std::size_t spots = random.Between(1, 8);
    for (std::size_t spot = 0; spot < spots; ++spot) {
        const std::size_t start = random.Between(0, span - 1);
        const std::size_t length = std::min(random.Between(1, 64), span - start);
        for (std::size_t i = start; i < start + length; ++i) bytes[i] = random.Byte();
    }
    return bytes;
}

TBytes Zeroed(const TBytes& clip, bool atStart, uint32_t seed) {
    TRandom random(seed);
    TBytes bytes = clip;
    const std::size_t length =
            std::min(random.Between(atStart ? 16 : 256, atStart ? 2048 : 4096), bytes.size());
    const std::size_t start = atStart ? 0 : random.Between(0, bytes.size() - length);
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(start), length, 0);
    return bytes;
}

// The clip cut into chunks of one random size; the last chunk may be shorter.
std::vector<TBytes> Chunks(const TBytes& clip, TRandom& random) {
    const std::size_t size = random.Between(256, 4096);
    std::vector<TBytes> chunks;
    for (auto at = clip.begin(); at != clip.end();) {
        const auto end = at + static_cast<std::ptrdiff_t>(std::min<std::size_t>(size, clip.end() - at));
        chunks.emplace_back(at, end);
        at = end;
    }
    return chunks;
}

TBytes Joined(const std::vector<TBytes>& chunks) {
    TBytes bytes;
    for (const TBytes& chunk : chunks) bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    return bytes;
}

TBytes SwappedChunks(const TBytes& clip, uint32_t seed) {
    TRandom random(seed);
    std::vector<TBytes> chunks = Chunks(clip, random);
    if (chunks.size() < 3) return clip;
    const std::size_t pairs = random.Between(2, 4);
    for (std::size_t pair = 0; pair < pairs; ++pair)
        std::swap(chunks[random.Between(1, chunks.size() - 1)], chunks[random.Between(1, chunks.size() - 1)]);
    return Joined(chunks);
}

TBytes ShuffledChunks(const TBytes& clip, uint32_t seed) {
    TRandom random(seed);
    std::vector<TBytes> chunks = Chunks(clip, random);
    // Fisher-Yates with the engine's raw output (std::shuffle's use of it is not fixed).
    for (std::size_t i = chunks.size(); i > 1; --i)
        std::swap(chunks[i - 1], chunks[random.Between(0, i - 1)]);
    return Joined(chunks);
}

TBytes Concatenated(const TBytes& first, const TBytes& second) {
    TBytes bytes = first;
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
}

using TMaker = std::function<TBytes(const TVariantSources&, uint32_t)>;

struct TRecipe {
    std::string Name;
    TMaker Make;
};

TMaker TruncatedBetween(int fromPercent, int toPercent) {
    return [=](const TVariantSources& s, uint32_t seed) {
        return Truncated(s.Clip, fromPercent, toPercent, seed);
    };
}

const std::vector<TRecipe>& Recipes() {
    static const std::vector<TRecipe> recipes = {
            {"intact", [](const TVariantSources& s, uint32_t) { return s.Clip; }},
            {"truncated-0", TruncatedBetween(0, 10)},
            {"truncated-1", TruncatedBetween(10, 35)},
            {"truncated-2", TruncatedBetween(35, 60)},
            {"truncated-3", TruncatedBetween(60, 85)},
            {"truncated-4", TruncatedBetween(85, 100)},
            {"overwritten-0",
             [](const TVariantSources& s, uint32_t seed) { return Overwritten(s.Clip, SIZE_MAX, seed); }},
            {"overwritten-1",
             [](const TVariantSources& s, uint32_t seed) { return Overwritten(s.Clip, SIZE_MAX, seed); }},
            {"overwritten-2",
             [](const TVariantSources& s, uint32_t seed) { return Overwritten(s.Clip, SIZE_MAX, seed); }},
            {"overwritten-head",
             [](const TVariantSources& s, uint32_t seed) { return Overwritten(s.Clip, kHeaderBytes, seed); }},
            {"zeroed-header",
             [](const TVariantSources& s, uint32_t seed) { return Zeroed(s.Clip, true, seed); }},
            {"zeroed-middle",
             [](const TVariantSources& s, uint32_t seed) { return Zeroed(s.Clip, false, seed); }},
            {"swapped-chunks",
             [](const TVariantSources& s, uint32_t seed) { return SwappedChunks(s.Clip, seed); }},
            {"shuffled-chunks",
             [](const TVariantSources& s, uint32_t seed) { return ShuffledChunks(s.Clip, seed); }},
            {"joined-same-kind",
             [](const TVariantSources& s, uint32_t) { return Concatenated(s.Clip, s.SameKindOther); }},
            {"joined-other-kind",
             [](const TVariantSources& s, uint32_t) { return Concatenated(s.Clip, s.OtherKind); }},
    };
    return recipes;
}

}  // namespace

TBytes ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path);
    return TBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const TBytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) throw std::runtime_error("cannot write " + path);
}

const std::vector<std::string>& VariantNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const TRecipe& recipe : Recipes()) list.push_back(recipe.Name);
        return list;
    }();
    return names;
}

TDamagedVariant DamagedVariant(const TVariantSources& sources, std::size_t index, uint32_t seed) {
    const TRecipe& recipe = Recipes().at(index);
    return {recipe.Name, seed, recipe.Make(sources, seed)};
}

}  // namespace kestrova::robustness
