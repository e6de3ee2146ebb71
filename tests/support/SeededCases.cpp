#include "SeededCases.h"

#include <cstdlib>

namespace testing_support {

int SeededRandom::Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }

bool SeededRandom::Chance(int percent) { return Int(1, 100) <= percent; }

std::string SeededRandom::Bytes(size_t count, bool allowZero) {
    std::string bytes;
    bytes.reserve(count);
    for (size_t i = 0; i < count; ++i) bytes += static_cast<char>(Int(allowZero ? 0 : 1, 255));
    return bytes;
}

std::string SeededRandom::Text(size_t count, const std::string& alphabet) {
    std::string text;
    text.reserve(count);
    for (size_t i = 0; i < count; ++i) text += alphabet[static_cast<size_t>(Int(0, static_cast<int>(alphabet.size()) - 1))];
    return text;
}

size_t SeededRandom::EdgeLength(size_t limit) {
    switch (Int(0, 6)) {
        case 0: return 0;
        case 1: return 1;
        case 2: return limit > 0 ? limit - 1 : 0;
        case 3: return limit;
        case 4: return limit + 1;
        case 5: return 2 * limit;
        default: return static_cast<size_t>(Int(0, static_cast<int>(2 * limit)));
    }
}

std::vector<SeededCase> SeededCaseList(uint32_t defaultBase, int count) {
    uint32_t base = defaultBase;
    if (const char* seed = std::getenv("ZELTRIN_SEED")) base = static_cast<uint32_t>(std::strtoul(seed, nullptr, 10));
    if (const char* cases = std::getenv("ZELTRIN_CASES")) count = std::atoi(cases);
    std::vector<SeededCase> list;
    for (int i = 0; i < count; ++i) list.push_back({base + static_cast<uint32_t>(i)});
    return list;
}

std::map<std::string, std::vector<std::string>> EntriesByCase(const std::vector<std::string>& entries) {
    std::map<std::string, std::vector<std::string>> byCase;
    std::vector<std::string>* current = nullptr;
    for (const std::string& entry : entries) {
        if (entry.rfind("-- seed ", 0) == 0 && entry.size() > 3 && entry.compare(entry.size() - 3, 3, " --") == 0)
            current = &byCase[entry];
        else if (current)
            current->push_back(entry);
    }
    return byCase;
}

}  // namespace testing_support
