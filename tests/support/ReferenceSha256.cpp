#include "ReferenceSha256.h"

#include <windows.h>
#include <wincrypt.h>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

namespace {

struct CryptProviderTraits {
    using pointer = HCRYPTPROV;
    static pointer invalid() noexcept { return 0; }
    static void close(pointer h) noexcept { ::CryptReleaseContext(h, 0); }
};

struct CryptHashTraits {
    using pointer = HCRYPTHASH;
    static pointer invalid() noexcept { return 0; }
    static void close(pointer h) noexcept { ::CryptDestroyHash(h); }
};

}  // namespace

std::string ReferenceSha256(const std::string& bytes) {
    win32::UniqueHandle<CryptProviderTraits> provider;
    if (!::CryptAcquireContextA(provider.put(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return {};
    win32::UniqueHandle<CryptHashTraits> hash;
    if (!::CryptCreateHash(provider.get(), CALG_SHA_256, 0, 0, hash.put())) return {};
    if (!::CryptHashData(hash.get(), reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0))
        return {};
    BYTE digest[32] = {};
    DWORD length = sizeof digest;
    if (!::CryptGetHashParam(hash.get(), HP_HASHVAL, digest, &length, 0) || length != sizeof digest) return {};
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (BYTE byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0f];
    }
    return hex;
}

}  // namespace testing_support
