// The recognisers of addresses and SIDs: each looks at one position and says
// whether an address starts there, bounded on both sides so that no longer token is cut.
#include "redact/Addresses.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "common/text/Format.h"
#include "redact/EntryLabel.h"

namespace redact {

namespace {

// The values of groups of 1 to 4 hexadecimal digits joined by single colons, none for an empty
// text; nothing when the text is not such groups. Its characters are hexadecimal digits and colons.
std::optional<std::vector<unsigned>> HexGroups(std::string_view text) {
    std::vector<unsigned> groups;
    if (text.empty()) return groups;
    size_t digits = 0;
    unsigned value = 0;
    for (char c : text) {
        if (c == ':') {
            if (digits == 0) return std::nullopt;
            groups.push_back(value);
            digits = 0;
            value = 0;
        } else if (++digits > 4) {
            return std::nullopt;
        } else {
            value = value * 16 + static_cast<unsigned>(IsDigit(c) ? c - '0' : Lower(c) - 'a' + 10);
        }
    }
    if (digits == 0) return std::nullopt;
    groups.push_back(value);
    return groups;
}

// The eight groups of an IPv6 address, "::" filled with zero groups; nothing when the text is
// no address.
std::optional<std::array<unsigned, 8>> Ipv6Groups(std::string_view text) {
    const size_t gap = text.find("::");
    const std::optional<std::vector<unsigned>> left = HexGroups(text.substr(0, gap));
    std::optional<std::vector<unsigned>> right = std::vector<unsigned>();
    if (gap != std::string_view::npos) {
        if (text.find("::", gap + 1) != std::string_view::npos) return std::nullopt;
        right = HexGroups(text.substr(gap + 2));
    }
    if (!left || !right) return std::nullopt;
    const size_t count = left->size() + right->size();
    if (gap == std::string_view::npos ? count != 8 : count > 7) return std::nullopt;
    std::array<unsigned, 8> groups{};
    std::copy(left->begin(), left->end(), groups.begin());
    std::copy(right->begin(), right->end(), groups.end() - right->size());
    return groups;
}

// The address as RFC 5952 writes it: lower case, no leading zeros, the first longest run of
// two or more zero groups as "::". One address written two ways thus gets one stand-in.
std::string CanonicalIpv6(const std::array<unsigned, 8>& groups) {
    size_t gapStart = groups.size();
    size_t gapLength = 1;
    for (size_t i = 0; i < groups.size(); ++i) {
        size_t run = 0;
        while (i + run < groups.size() && groups[i + run] == 0) ++run;
        if (run > gapLength) {
            gapStart = i;
            gapLength = run;
        }
    }
    std::string canonical;
    for (size_t i = 0; i < groups.size();) {
        if (i == gapStart) {
            canonical += "::";
            i += gapLength;
            continue;
        }
        if (!canonical.empty() && canonical.back() != ':') canonical += ':';
        canonical += text::Format("%x", groups[i++]);
    }
    return canonical;
}

bool StartsWithNoCase(const Window& window, size_t at, const char* prefix, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (Lower(window.At(at + i)) != prefix[i]) return false;
    return true;
}

}  // namespace

Match FindIpv4(const Window& window, size_t at) {
    const char previous = window.Before(at);
    if (IsDigit(previous) || previous == '.') return {};
    unsigned octets[4] = {};
    size_t i = at;
    for (int group = 0; group < 4; ++group) {
        const size_t start = i;
        while (i < window.length && IsDigit(window.At(i)) && i - start < 4) octets[group] = octets[group] * 10 + (window.At(i++) - '0');
        if (window.Short(i)) return NeedMore();
        if (i == start || i - start > 3 || octets[group] > 255) return {};
        if (group == 3) break;
        if (i >= window.length || window.At(i) != '.') return {};
        ++i;
    }
    // "1.2.3.4.5" is no address, and neither is any part of it.
    if (i < window.length && window.At(i) == '.') {
        if (window.Short(i + 1)) return NeedMore();
        if (i + 1 < window.length && IsDigit(window.At(i + 1))) return {};
    }
    const bool unspecified = octets[0] == 0 && octets[1] == 0 && octets[2] == 0 && octets[3] == 0;
    const bool broadcast = octets[0] == 255 && octets[1] == 255 && octets[2] == 255 && octets[3] == 255;
    if (unspecified || broadcast || octets[0] == 127) return {};
    // "FileVersion: 6.1.0.1" is a version, not an address; so is a version listing's value.
    // An unlabelled one is taken for an address: that harm is the lesser.
    if (NamesVersion(LabelOf(window, at))) return {};
    return Matched(at, i, RedactionKind::kIpv4Address, std::string(window.text + at, i - at));
}

namespace {

// Whether the ":" before `at` ends a label ("addr:", "IPv6Address:"), not an address's group:
// the word before it holds a letter that is no hexadecimal digit.
bool AfterLabelColon(const Window& window, size_t at) {
    if (at < 2 || window.At(at - 1) != ':') return false;
    size_t start = at - 1;
    while (start > 0 && IsAlnum(window.At(start - 1))) --start;
    for (size_t i = start; i + 1 < at; ++i)
        if (IsAlpha(window.At(i)) && !IsHex(window.At(i))) return true;
    return false;
}

// The pairs of hexadecimal digits from `at` joined by one separator, ":" or "-": 6 of a MAC
// address, 8 of a Fibre Channel name; `end` after the last.
Match SeparatedPairs(const Window& window, size_t at) {
    constexpr size_t kMostPairs = 8;
    if (window.Short(at + kMostPairs * 3 + 1)) return NeedMore();
    if (at + 5 > window.length) return {};
    const char separator = window.At(at + 2);
    if (separator != ':' && separator != '-') return {};
    size_t pairs = 0;
    size_t p = at;
    while (pairs < kMostPairs && p + 2 <= window.length && IsHex(window.At(p)) && IsHex(window.At(p + 1))) {
        ++pairs;
        p += 2;
        if (pairs == kMostPairs || p >= window.length || window.At(p) != separator) break;
        ++p;
    }
    const size_t end = p;
    if (end < window.length && (IsAlnum(window.At(end)) || window.At(end) == separator)) return {};
    if (window.At(end - 1) == separator || (pairs != 6 && pairs != 8)) return {};
    std::string normal(window.text + at, end - at);
    for (char& c : normal) c = c == separator ? ':' : Lower(c);
    return Matched(at, end, pairs == 6 ? RedactionKind::kMacAddress : RedactionKind::kFibreChannelName,
                   std::move(normal));
}

// Twelve hexadecimal digits from `at`, in three groups of four joined by "." ("001a.2b3c.4d5e")
// when `dotted`, else in one run ("001A2B3C4D5E"); the MAC address written with ":".
Match HexDigitsOfMac(const Window& window, size_t at, bool dotted) {
    const size_t length = dotted ? 14 : 12;
    if (window.Short(at + length + 1)) return NeedMore();
    if (at + length > window.length) return {};
    std::string normal;
    bool letter = false;
    for (size_t i = at; i < at + length; ++i) {
        const char c = window.At(i);
        if (dotted && (i - at) % 5 == 4) {
            if (c != '.') return {};
            continue;
        }
        if (!IsHex(c)) return {};
        letter |= !IsDigit(c);
        if (!normal.empty() && normal.size() % 3 == 2) normal += ':';
        normal += Lower(c);
    }
    const size_t end = at + length;
    if (end < window.length && (IsWordChar(window.At(end)) || (window.At(end) == '.' && end + 1 < window.length &&
                                                                 IsAlnum(window.At(end + 1)))))
        return {};
    // Twelve digits are a MAC address where one is named; dotted ones that hold a letter anywhere.
    if (!(dotted && letter) && !NamesMac(LabelOf(window, at))) return {};
    return Matched(at, end, RedactionKind::kMacAddress, std::move(normal));
}

}  // namespace

Match FindIpv6(const Window& window, size_t at) {
    const char previous = window.Before(at);
    if (IsLabelChar(previous) || previous == '.' || (previous == ':' && !AfterLabelColon(window, at))) return {};
    size_t i = at;
    while (i < window.length && (IsHex(window.At(i)) || window.At(i) == ':')) ++i;
    if (window.Short(i + 1)) return NeedMore();
    // It may end a sentence or a label joined by "-"; an IPv4 tail is FindIpv4's.
    if (i < window.length && (IsWordChar(window.At(i)) ||
                              (window.At(i) == '.' && i + 1 < window.length && IsAlnum(window.At(i + 1)))))
        return {};
    size_t end = i;
    // "fe80::1:" at the end of a label keeps its colon.
    if (end - at >= 2 && window.At(end - 1) == ':' && window.At(end - 2) != ':') --end;
    const std::string_view text(window.text + at, end - at);
    if (text.find(':') == text.rfind(':') || text == "::" || text == "::1") return {};
    const std::optional<std::array<unsigned, 8>> groups = Ipv6Groups(text);
    if (!groups) return {};
    return Matched(at, end, RedactionKind::kIpv6Address, CanonicalIpv6(*groups));
}

Match FindMac(const Window& window, size_t at) {
    const char previous = window.Before(at);
    if (IsAlnum(previous) || previous == '.') return {};
    if (previous != ':' && previous != '-') {
        const Match separated = SeparatedPairs(window, at);
        if (separated.found != Found::kNo) return separated;
    }
    if (previous == '-') return {};
    const Match dotted = HexDigitsOfMac(window, at, true);
    return dotted.found != Found::kNo ? dotted : HexDigitsOfMac(window, at, false);
}

Match FindDomainSid(const Window& window, size_t at) {
    static constexpr char kPrefix[] = "s-1-5-21-";
    constexpr size_t kPrefixLength = sizeof(kPrefix) - 1;
    const char previous = window.Before(at);
    if (IsAlnum(previous) || previous == '-') return {};
    if (window.Short(at + kPrefixLength)) return NeedMore();
    if (at + kPrefixLength > window.length || !StartsWithNoCase(window, at, kPrefix, kPrefixLength)) return {};
    // The machine or domain part: three numbers; the relative id after it stays.
    size_t i = at + kPrefixLength;
    for (int group = 0; group < 3; ++group) {
        const size_t start = i;
        while (i < window.length && IsDigit(window.At(i))) ++i;
        if (window.Short(i)) return NeedMore();
        if (i == start || i - start > 10) return {};
        if (group == 2) break;
        if (i >= window.length || window.At(i) != '-') return {};
        ++i;
    }
    const size_t domainEnd = i;
    if (i < window.length && window.At(i) == '-') {
        size_t rid = i + 1;
        while (rid < window.length && IsDigit(window.At(rid))) ++rid;
        if (window.Short(rid)) return NeedMore();
        if (rid > i + 1) i = rid;
    }
    if (i < window.length && IsAlnum(window.At(i))) return {};
    std::string original(window.text + at, domainEnd - at);
    original[0] = 'S';
    Match match = Matched(at, i, RedactionKind::kDomainSid, std::move(original));
    match.replaceTo = domainEnd;
    return match;
}

}  // namespace redact
