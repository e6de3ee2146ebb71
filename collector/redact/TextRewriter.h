#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "engine/Redaction.h"
#include "redact/NameTable.h"
#include "redact/RegistrySecrets.h"
#include "redact/StandInMap.h"
#include "redact/StartFilter.h"

namespace redact {

using ReplacementCounts = std::array<unsigned long long, kRedactionKinds>;

// Rewrites a text given piece by piece, in memory of the piece's size only: each call takes
// as much of the piece as can be decided and says how much; the caller gives the rest again
// with more text behind it. Tokens split across pieces are thus never missed.
class TextRewriter {
public:
    TextRewriter(const NameTable& names, StandInMap& standIns, ReplacementCounts& counts, bool registryDump);

    // Appends the rewritten text of the part taken to `out`; returns its length: with `atEnd`
    // the whole piece, else whole entries (lines, report entries) where the piece holds a line
    // end or "<BR>", else up to a token that may run on past the piece (never nothing).
    size_t Rewrite(const char* text, size_t length, bool atEnd, std::string& out);

private:
    // A character's bits in `starts_` and its successor's in `allows_`.
    static constexpr unsigned char kStartsAnywhere = 1;  // a folder path, a name
    static constexpr unsigned char kStartsToken = 2;     // an address or a SID
    static constexpr unsigned char kAnyCharacter = 4;    // a registry dump's line start
    static constexpr unsigned char kStartsSecret = 8;    // a secret's key or a URL

    size_t NextStart(const Window& window, size_t i, size_t stop);
    bool StartsAt(const Window& window, size_t at) const;
    unsigned Candidates(const Window& window, size_t at, bool tokenStart) const;
    Match FindAt(const Window& window, size_t at, unsigned candidates, bool entryBounded) const;

    const NameTable& names_;
    StandInMap& standIns_;
    ReplacementCounts& counts_;
    bool registryDump_;
    RegistrySecrets registry_;
    // A secret's data that the last piece did not reach: where it starts in the next one.
    size_t secretOffset_ = 0;
    size_t secretLength_ = 0;
    char before_ = '\n';
    char beforeBefore_ = '\n';
    std::array<unsigned char, 256> starts_{};
    std::array<unsigned char, 256> allows_{};
    StartFilter filter_;
    // The filter's marks of the block last looked at, in this piece.
    struct Block {
        bool valid = false;
        size_t start = 0;
        std::uint64_t marks = 0;
    } block_;
};

// The start of the last entry in the text (after its last line end or "<BR>"); 0 if none.
size_t LastEntryStart(const char* text, size_t length);

}  // namespace redact
