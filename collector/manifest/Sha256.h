#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

// SHA-256 from the system's cryptography (CNG), so the collector carries no hashing code of
// its own.

// A memory dump can be gigabytes: a file is hashed block by block, never read whole.
constexpr size_t kHashBlockSize = 1 << 20;

struct Sha256Result {
    std::string hex;      // 64 lowercase hex digits; empty when the hash could not be made
    DWORD error = 0;      // the system error that stopped it
    ULONGLONG bytes = 0;  // how many bytes went into the hash
};

Sha256Result Sha256OfBytes(std::string_view bytes);
// The hash of a file's content; a file that cannot be opened or read gives its error.
Sha256Result Sha256OfFile(const std::string& path);
