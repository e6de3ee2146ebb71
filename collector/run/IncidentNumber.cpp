#include "run/IncidentNumber.h"

#include <algorithm>
#include <cstring>

namespace {

// Characters that could break out of a folder name or of the packaging command line.
constexpr const char kForbiddenCharacters[] = " ~`!@#$%^&*()+={}[]|:;\"',<>.?/\\";
static_assert(sizeof kForbiddenCharacters - 1 == 31);

bool IsAllowed(char c) {
    auto code = static_cast<unsigned char>(c);
    // Control characters are refused too: a tab would split the packaging command line, and
    // no folder name may hold them.
    return code > 0x20 && code < 0x7F && std::strchr(kForbiddenCharacters, c) == nullptr;
}

}  // namespace

bool IsValidIncidentNumber(const std::string& number) {
    return !number.empty() && std::all_of(number.begin(), number.end(), IsAllowed);
}
