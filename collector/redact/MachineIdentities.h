#pragma once
#include <string>
#include <vector>

#include "engine/Redaction.h"

namespace redact {

struct Identity {
    RedactionKind kind;
    std::string name;
};

// What names this machine and its people: the computer name, its DNS host and domain names
// (and the domain's parent), the host names of its hosts file, the account names of its user
// profiles and of the running user. Built-in accounts and loopback names are none.
std::vector<Identity> ReadMachineIdentities(const std::string& computerName, const std::string& systemDirectory);

// The host names of a hosts file's text; for a full name also its domain.
std::vector<Identity> HostsFileIdentities(const std::string& text);

// A domain and the parent domains of two labels or more: "corp.acme.com", "acme.com".
std::vector<std::string> DomainAndParents(const std::string& domain);

}  // namespace redact
