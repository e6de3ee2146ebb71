#include "redact/TextRewriter.h"

#include <cstring>

#include "redact/Addresses.h"
#include "redact/NameMatch.h"

namespace redact {

namespace {

constexpr char kSecretStandIn[] = "********";

// What may start where, in the order they are tried: the first that finds something wins.
struct Recogniser {
    bool (*appliesAt)(char c, bool tokenStart);
    Match (*find)(const NameTable& names, const Window& window, size_t at);
};
constexpr Recogniser kRecognisers[] = {
    {[](char c, bool) { return c == '\\'; }, FindMachineFolder},
    {[](char c, bool) { return c == 'p' || c == 'P'; },
     [](const NameTable&, const Window& window, size_t at) { return FindSecretPair(window, at); }},
    {[](char c, bool tokenStart) { return tokenStart && (c == 'S' || c == 's'); },
     [](const NameTable&, const Window& window, size_t at) { return FindDomainSid(window, at); }},
    {[](char c, bool tokenStart) { return tokenStart && IsHex(c); },
     [](const NameTable&, const Window& window, size_t at) { return FindMac(window, at); }},
    {[](char c, bool tokenStart) { return tokenStart && (IsHex(c) || c == ':'); },
     [](const NameTable&, const Window& window, size_t at) { return FindIpv6(window, at); }},
    {[](char c, bool tokenStart) { return tokenStart && IsDigit(c); },
     [](const NameTable&, const Window& window, size_t at) { return FindIpv4(window, at); }},
    {[](char, bool) { return true; }, FindName},
};

}  // namespace

TextRewriter::TextRewriter(const NameTable& names, StandInMap& standIns, ReplacementCounts& counts, bool registryDump)
    : names_(names), standIns_(standIns), counts_(counts), registryDump_(registryDump) {
    // Characters at which something may start, inside a word and at a token's start: the rest
    // is copied without a look.
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        startsInWord_[c] = ch == '\\' || ch == 'p' || ch == 'P' || !names.StartingWith(static_cast<unsigned char>(c)).empty();
        startsToken_[c] = startsInWord_[c] || IsHex(ch) || ch == ':' || ch == 'S' || ch == 's';
    }
}

// The first recogniser, in order, that finds something at the position. One that cannot tell
// before more text comes stops the search, unless `entryBounded`: a line end or "<BR>" follows
// within the text, where every token stops, so it found nothing.
Match TextRewriter::FindAt(const Window& window, size_t at, bool tokenStart, bool entryBounded) {
    const char c = window.At(at);
    for (const Recogniser& recogniser : kRecognisers) {
        if (!recogniser.appliesAt(c, tokenStart)) continue;
        const Match match = recogniser.find(names_, window, at);
        if (match.found == Found::kYes || (match.found == Found::kNeedMore && !entryBounded)) return match;
    }
    return {};
}

size_t TextRewriter::Rewrite(const char* text, size_t length, bool atEnd, std::string& out) {
    const Window window{text, length, atEnd, before_, beforeBefore_};
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
    while (i < limit) {
        // Addresses and SIDs begin a token; inside a word they are none.
        const bool tokenStart = !IsAlnum(window.Before(i));
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool lineStart = registryDump_ && window.Before(i) == '\n';
        const bool mayStart = tokenStart ? startsToken_[c] : startsInWord_[c];
        if (!mayStart && !lineStart && !(secret.found == Found::kYes && i == secret.replaceFrom)) {
            ++i;
            continue;
        }
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
        } else if (mayStart) {
            match = FindAt(window, i, tokenStart, limit < length);
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
        out.append(text + copied, match.replaceFrom - copied);
        out += match.kind == RedactionKind::kSecret ? std::string(kSecretStandIn)
                                                     : standIns_.StandIn(match.kind, match.original);
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
