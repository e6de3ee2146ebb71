#pragma once
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// SHA-256 from the system's cryptography, so the collector carries no hashing code of its own:
// CNG where bcrypt.dll loads (Windows 6.0 and later), else CryptoAPI's AES provider (Windows
// 5.2 SP2), else none, and then every result carries the error that left none.

// A memory dump can be gigabytes: a file is hashed block by block, never read whole.
constexpr size_t kHashBlockSize = 1 << 20;

struct Sha256Result {
    std::string hex;      // 64 lowercase hex digits; empty when the hash could not be made
    DWORD error = 0;      // the system error that stopped it
    ULONGLONG bytes = 0;  // how many bytes went into the hash
};

enum class Sha256Source { kCng, kCryptoApi, kNone };

// The source this process hashes with, chosen at the first call.
Sha256Source SystemSha256Source();
// "CNG", "CryptoAPI" or "none".
const char* Sha256SourceName(Sha256Source source);
// Why a source cannot hash in this process; 0 when it can.
DWORD Sha256SourceError(Sha256Source source);

// A hash fed piece by piece, for content that is never whole in memory (a file as a cabinet
// unpacks it). The first failure sticks: every later Add does nothing and Finish gives it.
class Sha256Stream {
public:
    explicit Sha256Stream(Sha256Source source = SystemSha256Source());
    ~Sha256Stream();
    Sha256Stream(const Sha256Stream&) = delete;
    Sha256Stream& operator=(const Sha256Stream&) = delete;

    bool Failed() const noexcept { return error_ != 0; }
    void Add(const void* data, size_t size);
    // Stops the hash with the error that kept its content from being read.
    void Fail(DWORD error);
    Sha256Result Finish();

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    DWORD error_ = 0;
    ULONGLONG bytes_ = 0;
};

Sha256Result Sha256OfBytes(std::string_view bytes, Sha256Source source = SystemSha256Source());
// The hash of a file's content; a file that cannot be opened or read gives its error.
Sha256Result Sha256OfFile(const std::string& path);
Sha256Result Sha256OfFile(const std::wstring& path);
