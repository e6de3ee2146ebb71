#include "ReferenceSha256.h"

#include <windows.h>
#include <wincrypt.h>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

std::string ReferenceSha256(const std::string& bytes) {
    win32::UniqueCryptContext provider;
    if (!::CryptAcquireContextA(provider.put(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return {};
    win32::UniqueCryptHash hash;
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
