#include "engine/Redaction.h"

namespace {

// In the order of the kinds.
constexpr const char* kKindNames[] = {
    "hostNames", "domainNames", "ipv4Addresses", "ipv6Addresses", "macAddresses",
    "fibreChannelNames", "userNames", "domainSids", "secrets", "keywords",
};
static_assert(std::size(kKindNames) == kRedactionKinds);

}  // namespace

const char* RedactionKindName(RedactionKind kind) noexcept {
    const auto index = static_cast<size_t>(kind);
    return index < kRedactionKinds ? kKindNames[index] : "";
}

std::string RedactionMapPath(const std::string& runFolder) { return runFolder + "_REDACTION-MAP.TXT"; }
