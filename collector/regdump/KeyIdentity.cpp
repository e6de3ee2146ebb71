#include "regdump/KeyIdentity.h"

#include <cstring>
#include <vector>

extern "C" LONG NTAPI NtQueryKey(HANDLE key, int informationClass, PVOID information, ULONG length,
                                 PULONG resultLength);

namespace regdump {

namespace {

constexpr int kKeyNameInformation = 3;          // a byte count, then the name without terminator
constexpr LONG kBufferOverflow = static_cast<LONG>(0x80000005);  // the name was cut; the size is given
constexpr LONG kBufferTooSmall = static_cast<LONG>(0xC0000023);  // nothing written; the size is given
constexpr ULONG kFirstGuess = 1024;             // bytes: the names of most keys fit at once

}  // namespace

std::wstring RealKeyName(HKEY key) {
    std::vector<BYTE> buffer(kFirstGuess);
    ULONG needed = 0;
    LONG status = NtQueryKey(key, kKeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if ((status == kBufferOverflow || status == kBufferTooSmall) && needed > buffer.size()) {
        buffer.resize(needed);
        status = NtQueryKey(key, kKeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    }
    if (status != 0) return {};
    ULONG bytes = 0;
    std::memcpy(&bytes, buffer.data(), sizeof bytes);
    if (bytes > buffer.size() - sizeof bytes) return {};
    std::wstring name(bytes / sizeof(wchar_t), L'\0');
    std::memcpy(name.data(), buffer.data() + sizeof bytes, name.size() * sizeof(wchar_t));
    return name;
}

}  // namespace regdump
