#pragma once
#include <string>
#include <vector>

#include "engine/Redaction.h"
#include "redact/NameTable.h"

namespace redact {

// What names this machine, its cluster and its people, read through the wide APIs and given in
// UTF-8 (and, where it differs, in the ANSI code page, standing for the UTF-8 name): the
// computer name, its DNS host and domain names (and the domain's parent), the NetBIOS domain,
// the cluster's name and its nodes, the host names of its hosts file, the account names of its
// user profiles and of the running user and the domains of those accounts. Built-in and service
// accounts and loopback names are none.
std::vector<Identity> ReadMachineIdentities(const std::string& computerName, const std::string& systemDirectory);

// The host names of a hosts file's text; for a full name also its domain.
std::vector<Identity> HostsFileIdentities(const std::string& text);

// A domain and the parent domains of two labels or more: "corp.acme.com", "acme.com".
std::vector<std::string> DomainAndParents(const std::string& domain);

// The account and its domain a user profile names: the last folder of its path, "mrossi" and
// "CORP" for "C:\Users\mrossi.CORP" (a suffix of digits or the computer name is no domain).
// Nothing for a service's or the system's profile, by its SID, or a built-in account.
std::vector<Identity> ProfileIdentities(const std::string& sid, const std::string& profilePath,
                                        const std::string& computerName);

}  // namespace redact
