#include "manifest/Sha256.h"

#include <winternl.h>

#include <algorithm>
#include <vector>

#include "common/win32/UniqueHandle.h"

namespace {

constexpr ULONG kSha256Bytes = 32;

DWORD ErrorOf(NTSTATUS status) { return ::RtlNtStatusToDosError(status); }

// One hash in progress; the first failure sticks and every later call does nothing.
class Hasher {
public:
    Hasher() {
        NTSTATUS status = ::BCryptOpenAlgorithmProvider(provider_.put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0);
        if (!BCRYPT_SUCCESS(status)) {
            error_ = ErrorOf(status);
            return;
        }
        // No hash object of our own: the provider keeps its state for us.
        status = ::BCryptCreateHash(provider_.get(), hash_.put(), nullptr, 0, nullptr, 0, 0);
        if (!BCRYPT_SUCCESS(status)) error_ = ErrorOf(status);
    }

    void Add(const void* data, ULONG size) {
        if (error_ || size == 0) return;
        NTSTATUS status =
            ::BCryptHashData(hash_.get(), static_cast<PUCHAR>(const_cast<void*>(data)), size, 0);
        if (!BCRYPT_SUCCESS(status)) {
            error_ = ErrorOf(status);
            return;
        }
        bytes_ += size;
    }

    void Fail(DWORD error) {
        if (!error_) error_ = error;
    }

    Sha256Result Finish() {
        Sha256Result result;
        result.bytes = bytes_;
        UCHAR digest[kSha256Bytes] = {};
        if (!error_) {
            NTSTATUS status = ::BCryptFinishHash(hash_.get(), digest, kSha256Bytes, 0);
            if (!BCRYPT_SUCCESS(status)) error_ = ErrorOf(status);
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
    win32::UniqueAlgorithmProvider provider_;
    win32::UniqueHashHandle hash_;
    DWORD error_ = 0;
    ULONGLONG bytes_ = 0;
};

}  // namespace

Sha256Result Sha256OfBytes(std::string_view bytes) {
    Hasher hasher;
    while (!bytes.empty()) {
        ULONG block = static_cast<ULONG>(std::min(bytes.size(), kHashBlockSize));
        hasher.Add(bytes.data(), block);
        bytes.remove_prefix(block);
    }
    return hasher.Finish();
}

Sha256Result Sha256OfFile(const std::string& path) {
    Hasher hasher;
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
