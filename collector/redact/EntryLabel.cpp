#include "redact/EntryLabel.h"

#include <cstring>
#include <string>

#include "redact/Match.h"

namespace redact {

namespace {

constexpr size_t kLabelReach = 600;  // an entry of the report holds 511 characters at most

}  // namespace

bool EntryHolds(const Window& window, size_t at, std::initializer_list<const char*> words) {
    const size_t floor = at > kLabelReach ? at - kLabelReach : 0;
    size_t start = at;
    while (start > floor && window.At(start - 1) != '\n' &&
           !(start >= 4 && std::memcmp(window.text + start - 4, "<BR>", 4) == 0))
        --start;
    return HoldsOneOf(LowerCase(std::string(window.text + start, at - start)), words);
}

}  // namespace redact
