#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "redact/NameTable.h"

namespace redact {

// Looks at a block of characters at once and marks those where a recogniser may find
// something, so that the rewrite looks closely at few of them: most of a log is words and
// numbers where nothing starts. The marks are a superset: each follows from what every find
// needs in the character before and the sixteen from its position on, so a token is never
// let go unlooked at.
class StartFilter {
public:
    // A block and its look ahead fill the 64 bits of one mask.
    static constexpr size_t kBlock = 48;
    static constexpr size_t kLookAhead = 16;

    // `lineStarts`: every line's first character is marked too.
    StartFilter(const NameTable& names, bool lineStarts);

    // Bit k is set where text[k] may start something; `previous` is the character before text[0].
    // Reads text[0, kBlock + kLookAhead).
    std::uint64_t Marks(const char* text, char previous) const;

private:
    // The first three characters of the names (and other words) that start with `first`: the
    // second is one of `seconds`, the third one of `thirds`, unless any may be. All are
    // compared with the case bit set, so each stands for both letter cases.
    struct Prefix {
        char first;
        bool anySecond = false;
        bool anyThird = false;
        std::vector<char> seconds;
        std::vector<char> thirds;
    };
    void Add(const std::string& word);

    std::vector<Prefix> prefixes_;
    bool lineStarts_;
};

}  // namespace redact
