#pragma once
#include <string>

namespace testing_support {

// SHA-256 as the older CryptoAPI (advapi32) computes it, in lowercase hex: a second opinion
// on hashes the collector makes through CNG. Empty when the API fails.
std::string ReferenceSha256(const std::string& bytes);

}  // namespace testing_support
