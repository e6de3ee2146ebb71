// Names in text. A name of the program's own words ("VM") stands as a name only: after "\\"
// (a UNC path), before ".<domain>" (a full host name), or as the value that ends an entry
// labelled with a name ("Node Name: VM", "ComputerName:  REG_SZ  VM").
#include "redact/NameMatch.h"

#include <cstring>

#include "redact/EntryLabel.h"

namespace redact {

namespace {

// How far text at `at` equals `lower` in any letter case: kYes whole, kNeedMore while it does
// as far as the text goes, else kNo.
Found Equals(const Window& window, size_t at, const std::string& lower) {
    for (size_t i = 0; i < lower.size(); ++i) {
        if (at + i >= window.length) return window.atEnd ? Found::kNo : Found::kNeedMore;
        if (Lower(window.At(at + i)) != lower[i]) return Found::kNo;
    }
    return Found::kYes;
}

// The end of an entry: a line end, the report's "<BR>", or the end of the text.
Found EndsEntry(const Window& window, size_t at) {
    if (at >= window.length) return window.atEnd ? Found::kYes : Found::kNeedMore;
    const char c = window.At(at);
    if (c == '\r' || c == '\n') return Found::kYes;
    if (c != '<') return Found::kNo;
    if (window.Short(at + 4)) return Found::kNeedMore;
    return at + 4 <= window.length && std::memcmp(window.text + at, "<BR>", 4) == 0 ? Found::kYes : Found::kNo;
}

Found AtNamePosition(const NameTable& names, const Window& window, size_t at, size_t end) {
    const char previous = window.Before(at);
    const char next = end < window.length ? window.At(end) : '\0';
    if (window.Short(end + 1)) return Found::kNeedMore;
    if (previous == '\\' && window.TwoBefore(at) == '\\' && !IsLabelChar(next)) return Found::kYes;
    if (next == '.') {
        for (const std::string& domain : names.Domains()) {
            const Found found = Equals(window, end + 1, domain);
            if (found == Found::kNeedMore) return found;
            const size_t after = end + 1 + domain.size();
            if (found == Found::kYes && (after >= window.length || !IsLabelChar(window.At(after)))) return Found::kYes;
        }
    }
    if (previous != ' ' && previous != '\t' && previous != ':' && previous != '=') return Found::kNo;
    const Found ending = EndsEntry(window, end);
    if (ending != Found::kYes) return ending;
    return EntryHolds(window, at, {"name", "host", "computer", "node", "machine", "server"}) ? Found::kYes : Found::kNo;
}

}  // namespace

Match FindName(const NameTable& names, const Window& window, size_t at) {
    for (const NameEntry& name : names.StartingWith(static_cast<unsigned char>(window.At(at)))) {
        const Found equal = Equals(window, at, name.lower);
        if (equal == Found::kNeedMore) return NeedMore();
        if (equal == Found::kNo) continue;
        const size_t end = at + name.lower.size();
        Found stands = Found::kYes;
        if (name.rule == NameRule::kNamePosition) {
            stands = AtNamePosition(names, window, at, end);
        } else {
            if (window.Short(end + 1)) return NeedMore();
            auto joins = name.rule == NameRule::kCompound ? IsLetterOrDigit : IsWordChar;
            stands = joins(window.Before(at)) || (end < window.length && joins(window.At(end))) ? Found::kNo : Found::kYes;
        }
        if (stands == Found::kNeedMore) return NeedMore();
        if (stands == Found::kYes)
            return Matched(at, end, name.kind,
                           name.standsFor.empty() ? std::string(window.text + at, end - at) : name.standsFor);
    }
    return {};
}

Match FindMachineFolder(const NameTable& names, const Window& window, size_t at) {
    const std::string& folder = names.MachineFolder();
    if (folder.empty()) return {};
    const Found equal = Equals(window, at, folder);
    if (equal != Found::kYes) return equal == Found::kNeedMore ? NeedMore() : Match{};
    const size_t from = at + names.MachineNameOffset();
    Match match = Matched(from, from + names.MachineNameLength(), RedactionKind::kHostName,
                          std::string(window.text + from, names.MachineNameLength()));
    match.end = at + folder.size();
    return match;
}

}  // namespace redact
