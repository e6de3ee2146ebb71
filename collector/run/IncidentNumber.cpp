#include "run/IncidentNumber.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

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

// The system takes these names, in any letter case, for devices: a bug folder so named would
// not be a folder. (With an extension they are refused already, for the full stop.)
bool IsDeviceName(const std::string& number) {
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (::strcasecmp(number.c_str(), device) == 0) return true;
    const bool port = ::strncasecmp(number.c_str(), "COM", 3) == 0 || ::strncasecmp(number.c_str(), "LPT", 3) == 0;
    return port && number.size() == 4 && number[3] >= '1' && number[3] <= '9';
}

}  // namespace

bool IsValidIncidentNumber(const std::string& number) {
    return !number.empty() && std::all_of(number.begin(), number.end(), IsAllowed) && !IsDeviceName(number);
}
