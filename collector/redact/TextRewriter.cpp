#include "redact/TextRewriter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "redact/Addresses.h"
#include "redact/NameMatch.h"
#include "redact/Secrets.h"

namespace redact {

namespace {

constexpr char kSecretStandIn[] = "********";

// The recognisers that may find something at a position, as bits.
enum Candidate : unsigned {
    kMachineFolder = 1,
    kSecret = 2,
    kDomainSid = 4,
    kMac = 8,
    kIpv6 = 16,
    kIpv4 = 32,
    kName = 64,
};

// In the order they are tried: the first that finds something wins.
struct Recogniser {
    Candidate candidate;
    Match (*find)(const NameTable& names, const Window& window, size_t at);
};
constexpr Recogniser kRecognisers[] = {
    {kMachineFolder, FindMachineFolder},
    {kSecret, [](const NameTable&, const Window& window, size_t at) { return FindSecret(window, at); }},
    {kDomainSid, [](const NameTable&, const Window& window, size_t at) { return FindDomainSid(window, at); }},
    {kMac, [](const NameTable&, const Window& window, size_t at) { return FindMac(window, at); }},
    {kIpv6, [](const NameTable&, const Window& window, size_t at) { return FindIpv6(window, at); }},
    {kIpv4, [](const NameTable&, const Window& window, size_t at) { return FindIpv4(window, at); }},
    {kName, FindName},
};

// Whether position i lies beyond the text while more may follow, or holds a character `wanted` takes.
template <typename Wanted>
bool MayBe(const Window& window, size_t i, Wanted wanted) {
    return window.Short(i) || (i < window.length && wanted(window.At(i)));
}

// Whether one of the five characters from `at` on is ':', '-' or '.' (or may be, the text
// ending before): every address and SID has one there, but a MAC address written as twelve
// hexadecimal digits, which starts with eight. Eight characters at once.
bool SeparatorNear(const Window& window, size_t at) {
    if (at + 8 > window.length) return true;
    if (std::all_of(window.text + at, window.text + at + 8, IsHex)) return true;
    std::uint64_t five;
    std::memcpy(&five, window.text + at, sizeof five);
    five &= 0xffffffffffULL;
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    auto holds = [five](char c) {
        const std::uint64_t differences = five ^ (kOnes * static_cast<unsigned char>(c));
        return ((differences - kOnes) & ~differences & (kOnes << 7)) != 0;
    };
    return holds(':') || holds('-') || holds('.');
}

// The host part of a full name that ends in one of the machine's DNS domains, "dc01." or
// "web.dmz." before "corp.acme.com": where it starts, or `domain` when there is none. It is
// looked for from `floor` on, the end of what was replaced before.
size_t HostPartStart(const char* text, size_t floor, size_t domain) {
    if (domain < floor + 2 || text[domain - 1] != '.') return domain;
    size_t start = domain - 1;
    while (start > floor && (IsLabelChar(text[start - 1]) || (text[start - 1] == '.' && start - 1 > floor &&
                                                                IsLabelChar(text[start - 2]))))
        --start;
    while (start < domain - 1 && !IsLetterOrDigit(text[start])) ++start;
    return start < domain - 1 ? start : domain;
}

}  // namespace

TextRewriter::TextRewriter(const NameTable& names, StandInMap& standIns, ReplacementCounts& counts, bool registryDump)
    : names_(names), standIns_(standIns), counts_(counts), registryDump_(registryDump),
      filter_(names, registryDump) {
    // A character starts something where its bits meet those its predecessor allows: the rest
    // is copied without a look.
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        const bool anywhere = ch == '\\' || !names.StartingWith(static_cast<unsigned char>(c)).empty();
        const bool secret = ch == ':' || (ch != '\0' && std::strchr("pstanPSTAN", ch) != nullptr);
        starts_[c] = kAnyCharacter | (anywhere ? kStartsAnywhere : 0) | (secret ? kStartsSecret : 0) |
                     (IsHex(ch) || ch == ':' || ch == 'S' || ch == 's' ? kStartsToken : 0);
        // Addresses and SIDs begin a token; inside a word they are none. A registry dump's
        // lines are looked at from their start.
        allows_[c] = kStartsAnywhere | kStartsSecret | (IsAlnum(ch) ? 0 : kStartsToken) |
                     (registryDump && ch == '\n' ? kAnyCharacter : 0);
    }
}

// The recognisers worth a try at the position: each needs the characters looked at here
// (beyond the text, any may follow), so none that is left out could find anything.
inline unsigned TextRewriter::Candidates(const Window& window, size_t at, bool tokenStart) const {
    const char c = window.At(at);
    unsigned candidates = 0;
    if (c == '\\') candidates |= kMachineFolder;
    if (MayStartSecret(window, at)) candidates |= kSecret;
    if (at + 1 >= window.length ? !names_.StartingWith(static_cast<unsigned char>(c)).empty()
                                : names_.MayStartWith(static_cast<unsigned char>(c), static_cast<unsigned char>(window.At(at + 1))))
        candidates |= kName;
    if (!tokenStart) return candidates;
    if ((c == 'S' || c == 's') && MayBe(window, at + 1, [](char n) { return n == '-'; })) candidates |= kDomainSid;
    // An address does not go on from another ("10:20:30" holds none at "20"), but may follow a
    // label's ":" ("addr:fe80::1", "MAC:001A2B3C4D5E"). A MAC or Fibre Channel name is two
    // hexadecimal digits and a separator three times over, or four and a dot, or twelve in a
    // row; an IPv4 address up to three decimal digits and a dot; an IPv6 address hexadecimal
    // digits and colons, seven of them or "::".
    const char previous = window.Before(at);
    if ((!IsHex(c) && c != ':') || previous == '.') return candidates;
    size_t end = at;
    bool decimal = true;
    while (end < window.length && IsHex(window.At(end))) decimal &= IsDigit(window.At(end++));
    if (window.Short(end)) return candidates | kMac | kIpv6 | (decimal ? unsigned{kIpv4} : 0u);
    const size_t digits = end - at;
    if (digits == 12 && previous != '-') candidates |= kMac;
    if (end >= window.length) return candidates;
    const char separator = window.At(end);
    if (digits <= 3 && decimal && separator == '.') candidates |= kIpv4;
    if (digits == 4 && separator == '.' && previous != '-') candidates |= kMac;
    if (separator != ':' && separator != '-') return candidates;
    const bool afterLabel = previous == ':' && at >= 2 && IsAlnum(window.At(at - 2));
    const bool afterAddress = (previous == ':' && !afterLabel) || previous == '-';
    if (digits == 2 && !afterAddress && previous != ':' &&
        MayBe(window, at + 5, [separator](char n) { return n == separator; }) &&
        MayBe(window, at + 8, [separator](char n) { return n == separator; }))
        candidates |= kMac;
    if (separator != ':' || afterAddress || previous == '_') return candidates;
    int colons = 0;
    bool gap = false;
    for (; end < window.length && (IsHex(window.At(end)) || window.At(end) == ':'); ++end) {
        if (window.At(end) != ':') continue;
        gap |= end > at && window.At(end - 1) == ':';
        ++colons;
    }
    if (window.Short(end) || gap || colons >= 7) candidates |= kIpv6;
    return candidates;
}

// The first recogniser, in order, that finds something at the position. One that cannot tell
// before more text comes stops the search, unless `entryBounded`: a line end or "<BR>" follows
// within the text, where every token stops, so it found nothing.
Match TextRewriter::FindAt(const Window& window, size_t at, unsigned candidates, bool entryBounded) const {
    for (const Recogniser& recogniser : kRecognisers) {
        if (!(candidates & recogniser.candidate)) continue;
        Match match = recogniser.find(names_, window, at);
        if (match.found == Found::kYes || (match.found == Found::kNeedMore && !entryBounded)) return match;
    }
    return {};
}

// Whether something may start at the position: most characters are let go by the tables alone.
inline bool TextRewriter::StartsAt(const Window& window, size_t at) const {
    const unsigned char previous = static_cast<unsigned char>(window.Before(at));
    const unsigned char starts = starts_[static_cast<unsigned char>(window.text[at])] & allows_[previous];
    if (starts == 0) return false;
    // A token needs a separator near, a secret its key's first letters.
    const bool token = (starts & kStartsToken) && SeparatorNear(window, at);
    const bool secret = (starts & kStartsSecret) && MayStartSecret(window, at);
    if (!(starts & (kStartsAnywhere | kAnyCharacter)) && !token && !secret) return false;
    return (starts & kAnyCharacter) || Candidates(window, at, !IsAlnum(static_cast<char>(previous))) != 0;
}

// The first position from `i` on, before `stop`, where something may start: by the filter's
// marks while its look stays within the text, then one by one.
size_t TextRewriter::NextStart(const Window& window, size_t i, size_t stop) {
    while (i < stop) {
        if (!block_.valid || i < block_.start || i >= block_.start + StartFilter::kBlock) {
            if (i + StartFilter::kBlock + StartFilter::kLookAhead > window.length) break;
            block_ = {true, i, filter_.Marks(window.text + i, window.Before(i))};
        }
        for (std::uint64_t marks = block_.marks & (~std::uint64_t{0} << (i - block_.start)); marks != 0;
             marks &= marks - 1) {
            const size_t at = block_.start + static_cast<size_t>(__builtin_ctzll(marks));
            if (at >= stop) return stop;
            if (StartsAt(window, at)) return at;
        }
        i = std::min(block_.start + StartFilter::kBlock, stop);
    }
    for (; i < stop; ++i)
        if (StartsAt(window, i)) return i;
    return i;
}

size_t TextRewriter::Rewrite(const char* text, size_t length, bool atEnd, std::string& out) {
    const Window window{text, length, atEnd, before_, beforeBefore_};
    block_.valid = false;
    // Whole entries where there are any: a name's label and a registry line are then in one piece.
    size_t limit = atEnd ? length : LastEntryStart(text, length);
    if (limit == 0) limit = length;
    // A registry value's secret data, found at its line's start, replaced when reached.
    Match secret;
    if (secretLength_ > 0) {
        secret.found = Found::kYes;
        secret.kind = RedactionKind::kSecret;
        secret.replaceFrom = secretOffset_;
        secret.replaceTo = secret.end = secretOffset_ + secretLength_;
    }
    size_t copied = 0;
    size_t i = 0;
    while (true) {
        const bool secretAhead = secret.found == Found::kYes && secret.replaceFrom < limit;
        i = NextStart(window, i, secretAhead ? secret.replaceFrom : limit);
        if (i >= limit) break;
        const unsigned char previous = static_cast<unsigned char>(window.Before(i));
        const bool lineStart = registryDump_ && previous == '\n';
        const bool secretHere = secret.found == Found::kYes && i == secret.replaceFrom;
        const unsigned candidates = secretHere ? 0 : Candidates(window, i, !IsAlnum(static_cast<char>(previous)));
        if (lineStart && secret.found == Found::kNo) {
            secret = registry_.AtLineStart(window, i);
            // A line longer than the whole piece is no value line of the dump.
            if (secret.found == Found::kNeedMore) {
                secret = Match{};
                if (i > 0) break;
            }
        }
        Match match;
        if (secret.found == Found::kYes && i == secret.replaceFrom) {
            match = secret;
            secret = Match{};
        } else if (candidates != 0) {
            match = FindAt(window, i, candidates, limit < length);
            // Nothing found in a value's name runs into its secret data.
            if (match.found == Found::kYes && secret.found == Found::kYes && match.end > secret.replaceFrom)
                match = Match{};
        }
        // A token that needs more than the whole piece is none.
        if (match.found == Found::kNeedMore && i == 0) match = Match{};
        if (match.found == Found::kNeedMore) break;
        if (match.found == Found::kNo) {
            ++i;
            continue;
        }
        // Every host of the machine's domains is named as a whole, whatever its name.
        if (match.kind == RedactionKind::kDomainName && match.original.find('.') != std::string::npos) {
            const size_t host = HostPartStart(text, copied, match.replaceFrom);
            if (host < match.replaceFrom) {
                out.append(text + copied, host - copied);
                out += standIns_.StandIn(RedactionKind::kHostName, std::string(text + host, match.replaceFrom - 1 - host));
                ++counts_[static_cast<size_t>(RedactionKind::kHostName)];
                copied = match.replaceFrom - 1;
            }
        }
        out.append(text + copied, match.replaceFrom - copied);
        if (match.kind == RedactionKind::kSecret)
            out += kSecretStandIn;
        else
            out += standIns_.StandIn(match.kind, match.original);
        ++counts_[static_cast<size_t>(match.kind)];
        copied = match.replaceTo;
        i = match.end;
    }
    out.append(text + copied, i - copied);
    secretLength_ = secret.found == Found::kYes ? secret.replaceTo - secret.replaceFrom : 0;
    secretOffset_ = secret.found == Found::kYes ? secret.replaceFrom - i : 0;
    if (i >= 2) {
        beforeBefore_ = text[i - 2];
        before_ = text[i - 1];
    } else if (i == 1) {
        beforeBefore_ = before_;
        before_ = text[0];
    }
    return i;
}

size_t LastEntryStart(const char* text, size_t length) {
    for (size_t i = length; i > 0; --i) {
        if (text[i - 1] == '\n') return i;
        if (text[i - 1] == '>' && i >= 4 && std::memcmp(text + i - 4, "<BR>", 4) == 0) return i;
    }
    return 0;
}

}  // namespace redact
