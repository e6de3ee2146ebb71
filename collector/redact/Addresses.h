#pragma once
#include "redact/Match.h"

namespace redact {

// IPv4 addresses other than 0.0.0.0, 127.0.0.0/8 and 255.255.255.255, and not in an entry
// about a version.
Match FindIpv4(const Window& window, size_t at);
// IPv6 addresses other than :: and ::1; one with an IPv4 tail leaves the tail to FindIpv4.
Match FindIpv6(const Window& window, size_t at);
// MAC addresses, six pairs of hexadecimal digits joined by ":" or "-".
Match FindMac(const Window& window, size_t at);
// Domain SIDs, S-1-5-21-a-b-c with or without a relative id: a-b-c is replaced.
Match FindDomainSid(const Window& window, size_t at);
// "password=", "passwd=" and "pwd=" in any letter case: the value up to a blank, a quote, a
// separator or the line's end; a quoted value up to its closing quote.
Match FindSecretPair(const Window& window, size_t at);

}  // namespace redact
