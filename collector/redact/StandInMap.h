#pragma once
#include <array>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/Redaction.h"

namespace redact {

// One original and the stand-in it always gets.
struct StandInEntry {
    RedactionKind kind;
    std::string original;  // as first met; looked up without regard to case
    unsigned number;       // the stand-in's number within its kind, from 1
    std::string standIn;
};

// The stand-ins of a machine: numbered per kind in the order the originals are met, kept
// between runs so a later run gives the same original the same stand-in.
class StandInMap {
public:
    // The stand-in of an original; a new original gets the next number of its kind.
    const std::string& StandIn(RedactionKind kind, const std::string& original);
    // The entries met since this map was made or loaded, in the order first met.
    std::vector<StandInEntry> Used() const;
    const std::vector<StandInEntry>& Entries() const noexcept { return entries_; }

    // The text kept on disk, and read back; a line that does not parse is skipped.
    std::string Text() const;
    void Read(const std::string& text);

private:
    std::vector<StandInEntry> entries_;
    std::vector<bool> used_;
    std::map<std::pair<RedactionKind, std::string>, size_t> byOriginal_;
    std::set<std::pair<RedactionKind, unsigned>> numbersTaken_;
    std::array<unsigned, kRedactionKinds> lastNumber_{};
};

// The stand-in text of number `number` of a kind ("host0001", "240.0.0.1", "02:00:00:00:00:01").
std::string StandInText(RedactionKind kind, unsigned number);

}  // namespace redact
