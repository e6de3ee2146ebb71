#pragma once
#include "redact/Match.h"

namespace redact {

// IPv4 addresses other than 0.0.0.0, 127.0.0.0/8 and 255.255.255.255, and not in an entry
// about a version.
Match FindIpv4(const Window& window, size_t at);
// IPv6 addresses other than :: and ::1, also after a label's ":" ("addr:fe80::1"); one with an
// IPv4 tail leaves the tail to FindIpv4.
Match FindIpv6(const Window& window, size_t at);
// MAC addresses, six pairs of hexadecimal digits joined by ":" or "-", three groups of four
// joined by "." ("001a.2b3c.4d5e"), or twelve digits in a row where a label names a MAC
// ("NetworkAddress", "MAC:"); Fibre Channel names (WWN, WWPN), eight pairs joined by ":" or "-".
Match FindMac(const Window& window, size_t at);
// Domain SIDs, S-1-5-21-a-b-c with or without a relative id: a-b-c is replaced.
Match FindDomainSid(const Window& window, size_t at);

}  // namespace redact
