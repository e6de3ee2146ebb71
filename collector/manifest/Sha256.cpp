#include "manifest/Sha256.h"

#include <bcrypt.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

#include "common/win32/SystemLibrary.h"
#include "common/win32/UniqueHandle.h"

namespace {

constexpr ULONG kSha256Bytes = 32;

DWORD ErrorOf(NTSTATUS status) { return ::RtlNtStatusToDosError(status); }

// bcrypt.dll's calls, taken from the system folder at the first hash: imported, the DLL would
// keep the program from starting on Windows 5.2, which has none. Set once and kept for the life
// of the process, like the DLL; the owners of its handles close through them.
struct CngCalls {
    decltype(&::BCryptOpenAlgorithmProvider) openAlgorithmProvider = nullptr;
    decltype(&::BCryptCloseAlgorithmProvider) closeAlgorithmProvider = nullptr;
    decltype(&::BCryptCreateHash) createHash = nullptr;
    decltype(&::BCryptHashData) hashData = nullptr;
    decltype(&::BCryptFinishHash) finishHash = nullptr;
    decltype(&::BCryptDestroyHash) destroyHash = nullptr;
};
CngCalls cng;

struct CngAlgorithmTraits {
    using pointer = BCRYPT_ALG_HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { cng.closeAlgorithmProvider(h, 0); }
};

struct CngHashTraits {
    using pointer = BCRYPT_HASH_HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { cng.destroyHash(h); }
};

// Each source is opened at its first use and kept for the process; `error` says why one cannot
// hash. The DLL comes before the handle made from it, so the handle is closed first.
struct CngSource {
    win32::UniqueModule module;
    win32::UniqueHandle<CngAlgorithmTraits> algorithm;
    DWORD error = 0;
};

struct CryptoApiSource {
    win32::UniqueCryptContext context;
    DWORD error = 0;
};

template <class Function>
bool Take(HMODULE module, const char* name, Function& function) {
    function = win32::ProcAddress<Function>(module, name);
    return function != nullptr;
}

CngSource OpenCng() {
    CngSource source;
    source.module = win32::LoadSystemLibrary("bcrypt.dll");
    const HMODULE module = source.module.get();
    if (!module || !Take(module, "BCryptOpenAlgorithmProvider", cng.openAlgorithmProvider) ||
        !Take(module, "BCryptCloseAlgorithmProvider", cng.closeAlgorithmProvider) ||
        !Take(module, "BCryptCreateHash", cng.createHash) || !Take(module, "BCryptHashData", cng.hashData) ||
        !Take(module, "BCryptFinishHash", cng.finishHash) || !Take(module, "BCryptDestroyHash", cng.destroyHash)) {
        source.error = ::GetLastError();
        return source;
    }
    const NTSTATUS status = cng.openAlgorithmProvider(source.algorithm.put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0);
    if (!BCRYPT_SUCCESS(status)) source.error = ErrorOf(status);
    return source;
}

CryptoApiSource OpenCryptoApi() {
    CryptoApiSource source;
    // The AES provider is the one that hashes SHA-256; no keys are kept, so none are asked for.
    if (!::CryptAcquireContextA(source.context.put(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
        source.error = ::GetLastError();
        return source;
    }
    // Windows 5.2 before SP2 has the provider but not yet the algorithm.
    win32::UniqueCryptHash trial;
    if (!::CryptCreateHash(source.context.get(), CALG_SHA_256, 0, 0, trial.put())) {
        source.error = ::GetLastError();
        source.context.reset();
    }
    return source;
}

const CngSource& Cng() {
    static const CngSource source = OpenCng();
    return source;
}

const CryptoApiSource& CryptoApi() {
    static const CryptoApiSource source = OpenCryptoApi();
    return source;
}

// One hash in progress; the first failure sticks and every later call does nothing.
class Hasher {
public:
    explicit Hasher(Sha256Source source) {
        if (source == Sha256Source::kCng && Cng().algorithm) {
            const NTSTATUS status = cng.createHash(Cng().algorithm.get(), cngHash_.put(), nullptr, 0, nullptr, 0, 0);
            if (!BCRYPT_SUCCESS(status)) error_ = ErrorOf(status);
        } else if (source == Sha256Source::kCryptoApi && CryptoApi().context) {
            if (!::CryptCreateHash(CryptoApi().context.get(), CALG_SHA_256, 0, 0, cryptHash_.put()))
                error_ = ::GetLastError();
        } else {
            error_ = Sha256SourceError(source);
        }
    }

    bool Failed() const { return error_ != 0; }

    void Add(const void* data, ULONG size) {
        if (error_ || size == 0) return;
        if (cngHash_) {
            const NTSTATUS status = cng.hashData(cngHash_.get(), static_cast<PUCHAR>(const_cast<void*>(data)), size, 0);
            if (!BCRYPT_SUCCESS(status)) error_ = ErrorOf(status);
        } else if (!::CryptHashData(cryptHash_.get(), static_cast<const BYTE*>(data), size, 0)) {
            error_ = ::GetLastError();
        }
        if (!error_) bytes_ += size;
    }

    void Fail(DWORD error) {
        if (!error_) error_ = error;
    }

    Sha256Result Finish() {
        Sha256Result result;
        result.bytes = bytes_;
        UCHAR digest[kSha256Bytes] = {};
        if (!error_ && cngHash_) {
            const NTSTATUS status = cng.finishHash(cngHash_.get(), digest, kSha256Bytes, 0);
            if (!BCRYPT_SUCCESS(status)) error_ = ErrorOf(status);
        } else if (!error_) {
            DWORD length = kSha256Bytes;
            if (!::CryptGetHashParam(cryptHash_.get(), HP_HASHVAL, digest, &length, 0)) error_ = ::GetLastError();
        }
        result.error = error_;
        if (error_) return result;
        static const char kDigits[] = "0123456789abcdef";
        for (UCHAR byte : digest) {
            result.hex += kDigits[byte >> 4];
            result.hex += kDigits[byte & 0x0f];
        }
        return result;
    }

private:
    win32::UniqueHandle<CngHashTraits> cngHash_;
    win32::UniqueCryptHash cryptHash_;
    DWORD error_ = 0;
    ULONGLONG bytes_ = 0;
};

}  // namespace

Sha256Source SystemSha256Source() {
    if (Cng().algorithm) return Sha256Source::kCng;
    if (CryptoApi().context) return Sha256Source::kCryptoApi;
    return Sha256Source::kNone;
}

DWORD Sha256SourceError(Sha256Source source) {
    switch (source) {
    case Sha256Source::kCng: return Cng().error;
    case Sha256Source::kCryptoApi: return CryptoApi().error;
    case Sha256Source::kNone: break;
    }
    // Without a source: why the last one tried could not hash.
    return CryptoApi().error ? CryptoApi().error : ERROR_NOT_SUPPORTED;
}

const char* Sha256SourceName(Sha256Source source) {
    switch (source) {
    case Sha256Source::kCng: return "CNG";
    case Sha256Source::kCryptoApi: return "CryptoAPI";
    case Sha256Source::kNone: break;
    }
    return "none";
}

Sha256Result Sha256OfBytes(std::string_view bytes, Sha256Source source) {
    Hasher hasher(source);
    while (!bytes.empty()) {
        ULONG block = static_cast<ULONG>(std::min(bytes.size(), kHashBlockSize));
        hasher.Add(bytes.data(), block);
        bytes.remove_prefix(block);
    }
    return hasher.Finish();
}

Sha256Result Sha256OfFile(const std::string& path) {
    Hasher hasher(SystemSha256Source());
    // Without a source there is nothing to read a file for.
    if (hasher.Failed()) return hasher.Finish();
    win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        hasher.Fail(::GetLastError());
        return hasher.Finish();
    }
    std::vector<char> block(kHashBlockSize);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) {
            hasher.Fail(::GetLastError());
            break;
        }
        if (read == 0) break;
        hasher.Add(block.data(), read);
    }
    return hasher.Finish();
}
