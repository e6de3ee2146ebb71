#pragma once
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <utility>

#include "engine/Redaction.h"

namespace redact {

// The text a recogniser looks at: [0, length) is there, more may follow unless `atEnd`; the
// two characters before text[0] were given earlier ('\n' at the start of a file).
struct Window {
    const char* text;
    size_t length;
    bool atEnd;
    char before;
    char beforeBefore;

    char At(size_t i) const noexcept { return text[i]; }
    // The character before position i, reaching back into what was given earlier.
    char Before(size_t i) const noexcept { return i >= 1 ? text[i - 1] : before; }
    char TwoBefore(size_t i) const noexcept { return i >= 2 ? text[i - 2] : i == 1 ? before : beforeBefore; }
    // Whether position i lies beyond the text while more of it may follow.
    bool Short(size_t i) const noexcept { return i >= length && !atEnd; }
};

enum class Found { kNo, kYes, kNeedMore };

// What a recogniser found at a position: the match takes [at, end); the part [replaceFrom,
// replaceTo) of it gets the stand-in of `original` (a secret's just "********").
struct Match {
    Found found = Found::kNo;
    size_t end = 0;
    size_t replaceFrom = 0;
    size_t replaceTo = 0;
    RedactionKind kind = RedactionKind::kSecret;
    std::string original;
};

inline Match NeedMore() {
    Match match;
    match.found = Found::kNeedMore;
    return match;
}

// A match replacing all it takes, [from, to), with the stand-in of `original`.
inline Match Matched(size_t from, size_t to, RedactionKind kind, std::string original) {
    Match match;
    match.found = Found::kYes;
    match.end = to;
    match.replaceFrom = from;
    match.replaceTo = to;
    match.kind = kind;
    match.original = std::move(original);
    return match;
}

inline bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }
inline bool IsHex(char c) noexcept { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
inline bool IsAlpha(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsAlnum(char c) noexcept { return IsDigit(c) || IsAlpha(c); }
// A letter or digit; bytes from 0x80 on are parts of letters in UTF-8 and the ANSI code pages.
inline bool IsLetterOrDigit(char c) noexcept { return IsAlnum(c) || static_cast<unsigned char>(c) >= 0x80; }
// A character of a word: a name next to one is inside another word ("mail" in "email").
inline bool IsWordChar(char c) noexcept { return IsLetterOrDigit(c) || c == '_'; }
// A character of a host name label or an identifier: one of the program's words ("VM") next to
// one is part of it ("VM-01", "VM_QZOKAPO").
inline bool IsLabelChar(char c) noexcept { return IsWordChar(c) || c == '-'; }
inline char Lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A text as names are compared: letters in lower case.
inline std::string LowerCase(std::string text) {
    for (char& c : text) c = Lower(c);
    return text;
}

// Whether a lower-case text holds one of `words` somewhere, or is one of them.
template <typename Words>
bool HoldsOneOf(const std::string& lower, const Words& words) {
    return std::any_of(std::begin(words), std::end(words),
                       [&lower](const char* word) { return lower.find(word) != std::string::npos; });
}
template <typename Words>
bool IsOneOf(const std::string& lower, const Words& words) {
    return std::any_of(std::begin(words), std::end(words), [&lower](const char* word) { return lower == word; });
}

}  // namespace redact
