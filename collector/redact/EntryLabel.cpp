#include "redact/EntryLabel.h"

#include <cstring>
#include <string>

#include "redact/Match.h"

namespace redact {

namespace {

constexpr size_t kLabelReach = 600;  // an entry of the report holds 511 characters at most
constexpr size_t kLongestLabel = 48;

bool IsBlankOrQuote(char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; }

}  // namespace

bool EntryHolds(const Window& window, size_t at, std::initializer_list<const char*> words) {
    const size_t floor = at > kLabelReach ? at - kLabelReach : 0;
    size_t start = at;
    while (start > floor && window.At(start - 1) != '\n' &&
           !(start >= 4 && std::memcmp(window.text + start - 4, "<BR>", 4) == 0))
        --start;
    return HoldsOneOf(LowerCase(std::string(window.text + start, at - start)), words);
}

std::string LabelOf(const Window& window, size_t at) {
    const size_t floor = at > kLabelReach ? at - kLabelReach : 0;
    size_t i = at;
    while (i > floor && IsBlankOrQuote(window.At(i - 1))) --i;
    const bool blankBefore = i < at;
    // A registry value's type between its name and its data.
    size_t type = i;
    while (type > floor && (IsAlnum(window.At(type - 1)) || window.At(type - 1) == '_')) --type;
    if (i - type > 4 && std::memcmp(window.text + type, "REG_", 4) == 0) {
        i = type;
        while (i > floor && IsBlankOrQuote(window.At(i - 1))) --i;
    }
    if (i > floor && (window.At(i - 1) == ':' || window.At(i - 1) == '=' || window.At(i - 1) == '>')) {
        --i;
        while (i > floor && IsBlankOrQuote(window.At(i - 1))) --i;
    } else if (!blankBefore) {
        return std::string();
    }
    size_t start = i;
    while (start > floor && i - start < kLongestLabel && (IsWordChar(window.At(start - 1)) || window.At(start - 1) == ' '))
        --start;
    while (start < i && window.At(start) == ' ') ++start;
    return std::string(window.text + start, i - start);
}

bool NamesVersion(const std::string& label) {
    static constexpr char kVersion[] = "version";
    constexpr size_t kLength = sizeof(kVersion) - 1;
    if (label.size() < kLength || LowerCase(label.substr(label.size() - kLength)) != kVersion) return false;
    if (label.size() == kLength) return true;
    const char before = label[label.size() - kLength - 1];
    return !IsAlnum(before) || label[label.size() - kLength] == 'V';
}

bool NamesMac(const std::string& label) {
    const std::string lower = LowerCase(label);
    const size_t mac = lower.find("mac");
    const bool macWord = mac != std::string::npos && (mac == 0 || !IsAlpha(lower[mac - 1]) || label[mac] == 'M') &&
                         (mac + 3 == lower.size() || !IsAlpha(lower[mac + 3]) || label[mac + 3] == 'A');
    return macWord || lower.find("networkaddress") != std::string::npos ||
           lower.find("physical address") != std::string::npos;
}

}  // namespace redact
