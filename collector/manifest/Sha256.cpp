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

// The hash object of the source in use; the other stays empty.
struct Sha256Stream::Handles {
    win32::UniqueHandle<CngHashTraits> cng;
    win32::UniqueCryptHash cryptoApi;
};

Sha256Stream::Sha256Stream(Sha256Source source) : handles_(std::make_unique<Handles>()) {
    if (source == Sha256Source::kCng && Cng().algorithm) {
        const NTSTATUS status = cng.createHash(Cng().algorithm.get(), handles_->cng.put(), nullptr, 0, nullptr, 0, 0);
        if (!BCRYPT_SUCCESS(status)) error_ = ErrorOf(status);
    } else if (source == Sha256Source::kCryptoApi && CryptoApi().context) {
        if (!::CryptCreateHash(CryptoApi().context.get(), CALG_SHA_256, 0, 0, handles_->cryptoApi.put()))
            error_ = ::GetLastError();
    } else {
        error_ = Sha256SourceError(source);
    }
}

Sha256Stream::~Sha256Stream() = default;

void Sha256Stream::Add(const void* data, size_t size) {
    const auto* bytes = static_cast<const UCHAR*>(data);
    // The system's calls take a ULONG count.
    while (!error_ && size > 0) {
        const ULONG block = static_cast<ULONG>(std::min(size, kHashBlockSize));
        if (handles_->cng) {
            const NTSTATUS status = cng.hashData(handles_->cng.get(), const_cast<PUCHAR>(bytes), block, 0);
            if (!BCRYPT_SUCCESS(status)) error_ = ErrorOf(status);
        } else if (!::CryptHashData(handles_->cryptoApi.get(), bytes, block, 0)) {
            error_ = ::GetLastError();
        }
        if (error_) break;
        bytes_ += block;
        bytes += block;
        size -= block;
    }
}

void Sha256Stream::Fail(DWORD error) {
    if (!error_) error_ = error;
}

Sha256Result Sha256Stream::Finish() {
    Sha256Result result;
    result.bytes = bytes_;
    UCHAR digest[kSha256Bytes] = {};
    if (!error_ && handles_->cng) {
        const NTSTATUS status = cng.finishHash(handles_->cng.get(), digest, kSha256Bytes, 0);
        if (!BCRYPT_SUCCESS(status)) error_ = ErrorOf(status);
    } else if (!error_) {
        DWORD length = kSha256Bytes;
        if (!::CryptGetHashParam(handles_->cryptoApi.get(), HP_HASHVAL, digest, &length, 0)) error_ = ::GetLastError();
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

Sha256Result Sha256OfBytes(std::string_view bytes, Sha256Source source) {
    Sha256Stream hash(source);
    hash.Add(bytes.data(), bytes.size());
    return hash.Finish();
}

namespace {

// The content of a file just opened, read block by block to its end; `openError` is why it
// could not be opened.
Sha256Result HashOpenedFile(HANDLE opened, DWORD openError) {
    win32::UniqueFile file(opened);
    Sha256Stream hash;
    // Without a source there is nothing to read a file for.
    if (hash.Failed()) return hash.Finish();
    if (!file) {
        hash.Fail(openError);
        return hash.Finish();
    }
    std::vector<char> block(kHashBlockSize);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) {
            hash.Fail(::GetLastError());
            break;
        }
        if (read == 0) break;
        hash.Add(block.data(), read);
    }
    return hash.Finish();
}

}  // namespace

Sha256Result Sha256OfFile(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return HashOpenedFile(file, ::GetLastError());
}

Sha256Result Sha256OfFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return HashOpenedFile(file, ::GetLastError());
}
