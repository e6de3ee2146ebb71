#include "engine/Redaction.h"

const char* RedactionKindName(RedactionKind kind) noexcept {
    switch (kind) {
        case RedactionKind::kHostName:
            return "hostNames";
        case RedactionKind::kDomainName:
            return "domainNames";
        case RedactionKind::kIpv4Address:
            return "ipv4Addresses";
        case RedactionKind::kIpv6Address:
            return "ipv6Addresses";
        case RedactionKind::kMacAddress:
            return "macAddresses";
        case RedactionKind::kUserName:
            return "userNames";
        case RedactionKind::kDomainSid:
            return "domainSids";
        case RedactionKind::kSecret:
            return "secrets";
        case RedactionKind::kKeyword:
            return "keywords";
    }
    return "";
}
