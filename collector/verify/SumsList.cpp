#include "verify/SumsList.h"

#include <cctype>

namespace {

constexpr size_t kHexDigits = 64;

std::string LowerHex(std::string_view hex) {
    std::string lower(hex);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

SumsList ReadSumsList(std::string_view text) {
    SumsList list;
    size_t number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const bool wellFormed = line.size() > kHexDigits + 2 && line[kHexDigits] == ' ' &&
                                (line[kHexDigits + 1] == ' ' || line[kHexDigits + 1] == '*') &&
                                line.substr(0, kHexDigits).find_first_not_of("0123456789abcdefABCDEF") ==
                                    std::string_view::npos;
        const std::string where = "line " + std::to_string(number);
        if (!wellFormed) {
            list.error = where + " is not \"<sha256>  <path>\"";
            break;
        }
        const std::string path(line.substr(kHexDigits + 2));
        if (!list.hashes.emplace(path, LowerHex(line.substr(0, kHexDigits))).second) {
            list.error = where + " names " + path + " a second time";
            break;
        }
    }
    if (!list.error.empty()) list.hashes.clear();
    return list;
}
