#include "redact/StandInMap.h"

#include <cstdlib>

#include "common/text/Format.h"
#include "common/text/Lines.h"
#include "redact/Match.h"

namespace redact {

std::string StandInText(RedactionKind kind, unsigned number) {
    switch (kind) {
        case RedactionKind::kHostName:
            return text::Format("host%04u", number);
        case RedactionKind::kDomainName:
            return text::Format("domain%04u.example", number);
        case RedactionKind::kUserName:
            return text::Format("user%04u", number);
        case RedactionKind::kKeyword:
            return text::Format("keyword%04u", number);
        case RedactionKind::kIpv4Address:  // 240.0.0.0/4: reserved, never a real host's
            return text::Format("%u.%u.%u.%u", 240 | ((number >> 24) & 15), (number >> 16) & 255, (number >> 8) & 255,
                                number & 255);
        case RedactionKind::kIpv6Address:  // 2001:db8::/32: the documentation prefix
            return number > 0xffff ? text::Format("2001:db8::%x:%x", number >> 16, number & 0xffff)
                                   : text::Format("2001:db8::%x", number);
        case RedactionKind::kMacAddress:  // locally administered
            return text::Format("02:00:00:%02x:%02x:%02x", (number >> 16) & 255, (number >> 8) & 255, number & 255);
        case RedactionKind::kFibreChannelName:  // IEEE registered, the company id of none
            return text::Format("50:00:00:00:00:%02x:%02x:%02x", (number >> 16) & 255, (number >> 8) & 255, number & 255);
        case RedactionKind::kDomainSid:
            return text::Format("S-1-5-21-0-0-%u", number);
        case RedactionKind::kSecret:
            break;
    }
    return "********";
}

const std::string& StandInMap::StandIn(RedactionKind kind, const std::string& original) {
    auto key = std::make_pair(kind, LowerCase(original));
    auto found = byOriginal_.find(key);
    if (found != byOriginal_.end()) {
        used_[found->second] = true;
        return entries_[found->second].standIn;
    }
    unsigned number = ++lastNumber_[static_cast<size_t>(kind)];
    entries_.push_back({kind, original, number, StandInText(kind, number)});
    numbersTaken_.insert({kind, number});
    used_.push_back(true);
    byOriginal_.emplace(std::move(key), entries_.size() - 1);
    return entries_.back().standIn;
}

std::vector<StandInEntry> StandInMap::Used() const {
    std::vector<StandInEntry> used;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (used_[i]) used.push_back(entries_[i]);
    return used;
}

// One line an entry: the kind's manifest name, the number and the original, TAB-separated.
// Originals hold no TAB or line end: every recogniser stops at them.
std::string StandInMap::Text() const {
    std::string text = "# Zeltrin redaction stand-ins: kind, number, original\r\n";
    for (const StandInEntry& entry : entries_)
        text += text::Format("%s\t%u\t", RedactionKindName(entry.kind), entry.number) + entry.original + "\r\n";
    return text;
}

void StandInMap::Read(const std::string& text) {
    text::ForEachLine(text, [this](std::string_view line) {
        const size_t firstTab = line.find('\t');
        const size_t secondTab = firstTab == std::string_view::npos ? firstTab : line.find('\t', firstTab + 1);
        if (secondTab == std::string_view::npos || line[0] == '#') return;
        const std::string_view kindName = line.substr(0, firstTab);
        const unsigned number = static_cast<unsigned>(std::strtoul(std::string(line.substr(firstTab + 1)).c_str(), nullptr, 10));
        std::string original(line.substr(secondTab + 1));
        for (size_t k = 0; k < kRedactionKinds; ++k) {
            const auto kind = static_cast<RedactionKind>(k);
            if (kindName != RedactionKindName(kind) || number == 0 || original.empty()) continue;
            auto key = std::make_pair(kind, LowerCase(original));
            // A damaged file must not give one stand-in to two originals.
            if (byOriginal_.count(key) || !numbersTaken_.insert({kind, number}).second) return;
            entries_.push_back({kind, std::move(original), number, StandInText(kind, number)});
            used_.push_back(false);
            byOriginal_.emplace(std::move(key), entries_.size() - 1);
            if (number > lastNumber_[k]) lastNumber_[k] = number;
            return;
        }
    });
}

}  // namespace redact
