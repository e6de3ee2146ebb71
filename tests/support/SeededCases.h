// Repeatable random cases for the robustness tests. Each case draws from a generator seeded
// with the base seed plus its index, so a failing case is named by one number and can be run
// again alone: ZELTRIN_SEED=<seed> ZELTRIN_CASES=1 runs exactly that case.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace testing_support {

class SeededRandom {
public:
    explicit SeededRandom(uint32_t seed) : engine_(seed) {}

    // A whole number in [low, high].
    int Int(int low, int high);
    bool Chance(int percent);
    // Bytes 1..255 (no terminator inside), or 0..255 when zeros are allowed.
    std::string Bytes(size_t count, bool allowZero = false);
    // Characters drawn from the alphabet.
    std::string Text(size_t count, const std::string& alphabet);
    template <typename T>
    const T& Pick(const std::vector<T>& choices) {
        return choices[static_cast<size_t>(Int(0, static_cast<int>(choices.size()) - 1))];
    }
    // A length that favours the edges that break buffers: 0, 1, limit-1, limit, limit+1,
    // twice the limit, else anything up to twice the limit.
    size_t EdgeLength(size_t limit);

private:
    std::mt19937 engine_;
};

struct SeededCase {
    uint32_t seed;
    std::string Name() const { return "seed " + std::to_string(seed); }
    // The report entry a case writes before its own, so its entries can be told apart.
    std::string Marker() const { return "-- " + Name() + " --"; }
};

// Report entries grouped by the case that wrote them: from a case's marker to the next one.
std::map<std::string, std::vector<std::string>> EntriesByCase(const std::vector<std::string>& entries);

// The cases of one generator: `count` seeds from the base seed (ZELTRIN_SEED, else the
// generator's own fixed base), or ZELTRIN_CASES of them when that is set.
std::vector<SeededCase> SeededCaseList(uint32_t defaultBase, int count);

}  // namespace testing_support
