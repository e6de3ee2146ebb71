#pragma once
#include <array>
#include <bitset>
#include <string>
#include <utility>
#include <vector>

#include "engine/Redaction.h"

namespace redact {

// Where a name is replaced.
enum class NameRule {
    kWholeWord,     // as a whole word: no letter, digit or "_" on either side ("mail", not "email")
    kCompound,      // the machine's own names: also inside compounds joined by "-", "_" or "."
    kNamePosition,  // one of the program's words ("VM"): only where it stands as a name
};

// A name to replace. `standsFor`, when given, is the original whose stand-in it gets: the same
// name in another encoding.
struct Identity {
    Identity(RedactionKind kind_, std::string name_, bool ownName_ = false, std::string standsFor_ = std::string())
        : kind(kind_), name(std::move(name_)), ownName(ownName_), standsFor(std::move(standsFor_)) {}
    RedactionKind kind;
    std::string name;
    bool ownName;  // the computer's own name or its DNS host name
    std::string standsFor;
};

struct NameEntry {
    std::string lower;  // the name in lower case
    RedactionKind kind;
    NameRule rule;
    std::string standsFor;  // empty: the text found stands for itself
};

bool IsProgramWord(const std::string& name);

// The names of this machine to replace, by their first letter, longest first, so that a
// host name wins over the domain it ends in.
class NameTable {
public:
    // Empty names and names already held (under any kind) are skipped: false.
    bool Add(const Identity& identity);
    bool Add(RedactionKind kind, const std::string& name) { return Add(Identity{kind, name}); }
    // The machine level of the run folder, "\<incident>\<computer name>\": the computer name
    // there is replaced whatever it is.
    void SetMachineFolder(const std::string& incident, const std::string& computerName);

    const std::vector<NameEntry>& StartingWith(unsigned char c) const noexcept { return byFirst_[c]; }
    // Whether a name may start with the two characters, in any letter case.
    bool MayStartWith(unsigned char first, unsigned char second) const noexcept { return firstTwo_[first * 256 + second]; }
    const std::vector<std::string>& Domains() const noexcept { return domains_; }
    const std::string& MachineFolder() const noexcept { return machineFolder_; }  // lower case
    size_t MachineNameOffset() const noexcept { return machineNameOffset_; }
    size_t MachineNameLength() const noexcept { return machineNameLength_; }

private:
    std::array<std::vector<NameEntry>, 256> byFirst_;
    std::bitset<256 * 256> firstTwo_;
    std::vector<std::string> domains_;
    std::string machineFolder_;
    size_t machineNameOffset_ = 0;
    size_t machineNameLength_ = 0;
};

}  // namespace redact
