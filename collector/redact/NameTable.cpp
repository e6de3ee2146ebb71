#include "redact/NameTable.h"

#include <algorithm>

#include "redact/Match.h"

namespace redact {

bool NameTable::Add(const Identity& identity) {
    const std::string& name = identity.name;
    const RedactionKind kind = identity.kind;
    if (name.empty()) return false;
    const std::string lower = LowerCase(name);
    // Both letter cases of the first letter lead to the name.
    const unsigned char first = static_cast<unsigned char>(lower[0]);
    const unsigned char upper = first >= 'a' && first <= 'z' ? static_cast<unsigned char>(first - 'a' + 'A') : first;
    std::vector<NameEntry>& bucket = byFirst_[first];
    if (std::any_of(bucket.begin(), bucket.end(), [&lower](const NameEntry& e) { return e.lower == lower; })) return false;
    const NameRule rule = IsProgramWord(name) ? NameRule::kNamePosition
                          : identity.ownName ? NameRule::kCompound
                                             : NameRule::kWholeWord;
    NameEntry entry{lower, kind, rule, identity.standsFor};
    auto longestFirst = [](const NameEntry& a, const NameEntry& b) { return a.lower.size() > b.lower.size(); };
    bucket.insert(std::upper_bound(bucket.begin(), bucket.end(), entry, longestFirst), entry);
    if (upper != first) byFirst_[upper] = bucket;
    // A name of one character may have anything after it.
    for (int second = 0; second < 256; ++second) {
        if (lower.size() > 1 && Lower(static_cast<char>(second)) != lower[1]) continue;
        firstTwo_[first * 256 + second] = true;
        firstTwo_[upper * 256 + second] = true;
    }
    if (kind == RedactionKind::kDomainName) domains_.push_back(lower);
    return true;
}

void NameTable::SetMachineFolder(const std::string& incident, const std::string& computerName) {
    machineFolder_ = LowerCase("\\" + incident + "\\" + computerName + "\\");
    machineNameOffset_ = incident.size() + 2;
    machineNameLength_ = computerName.size();
}

}  // namespace redact
