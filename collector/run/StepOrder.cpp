#include "run/StepOrder.h"

#include <windows.h>

#include <sstream>
#include <string>

namespace {

struct Write {
    std::string folder;
    std::string name;
};

std::vector<Write> WritesOf(const char* declared) {
    std::vector<Write> writes;
    std::istringstream words(declared ? declared : "");
    for (std::string word; words >> word;) {
        const size_t colon = word.find(':');
        writes.push_back({word.substr(0, colon), colon == std::string::npos ? "*" : word.substr(colon + 1)});
    }
    return writes;
}

bool SameText(const std::string& first, const std::string& second, size_t length) {
    return first.size() >= length && second.size() >= length &&
           ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, first.data(), static_cast<int>(length), second.data(),
                            static_cast<int>(length)) == CSTR_EQUAL;
}

// The part before a single trailing star; none when the name has another wildcard.
bool PrefixPattern(const std::string& name, std::string& prefix) {
    const size_t wildcard = name.find_first_of("*?");
    if (wildcard == std::string::npos) return false;
    if (wildcard + 1 != name.size() || name[wildcard] != '*') {
        prefix.clear();
        return true;
    }
    prefix = name.substr(0, wildcard);
    return true;
}

bool NamesOverlap(const std::string& first, const std::string& second) {
    std::string firstPrefix, secondPrefix;
    const bool firstPattern = PrefixPattern(first, firstPrefix);
    const bool secondPattern = PrefixPattern(second, secondPrefix);
    if (!firstPattern && !secondPattern) return first.size() == second.size() && SameText(first, second, first.size());
    // A pattern matches the names that begin with its prefix; "" (any other wildcard) all.
    const std::string& a = firstPattern ? firstPrefix : first;
    const std::string& b = secondPattern ? secondPrefix : second;
    if (firstPattern && secondPattern) return SameText(a, b, std::min(a.size(), b.size()));
    const std::string& prefix = firstPattern ? a : b;
    const std::string& name = firstPattern ? b : a;
    return SameText(prefix, name, prefix.size());
}

bool AnyOverlap(const std::vector<Write>& first, const std::vector<Write>& second) {
    for (const Write& a : first)
        for (const Write& b : second)
            if (a.folder == b.folder && NamesOverlap(a.name, b.name)) return true;
    return false;
}

}  // namespace

bool WritesOverlap(const char* first, const char* second) { return AnyOverlap(WritesOf(first), WritesOf(second)); }

std::vector<std::vector<size_t>> RowsToWaitFor(std::span<const CaptureStep> steps, const std::vector<bool>& carriedOut) {
    std::vector<std::vector<Write>> writes;
    for (const CaptureStep& step : steps) writes.push_back(WritesOf(step.writes));
    std::vector<std::vector<size_t>> waits(steps.size());
    for (size_t later = 0; later < steps.size(); ++later) {
        for (size_t earlier = 0; earlier < later; ++earlier) {
            const bool follows = steps[later].mustFollow == steps[earlier].row;
            const bool bothRun = carriedOut[earlier] && carriedOut[later];
            const bool apart = bothRun && (steps[earlier].alone || steps[later].alone ||
                                           AnyOverlap(writes[earlier], writes[later]));
            if (follows || apart) waits[later].push_back(earlier);
        }
    }
    return waits;
}
