#include "capture/NewestPartCopy.h"

#include <vector>

#include "common/win32/UniqueHandle.h"
#include "common/win32/WholeFileTransfer.h"

namespace {

constexpr DWORD kChunkBytes = 1024 * 1024;  // one buffer for any size of file

// 0, or the system error of the call that failed, taken before the handles are closed.
DWORD CopyTail(const std::string& source, const std::string& target, ULONGLONG bytes) {
    // A log is still being written by its service: share everything, as a copy does.
    win32::UniqueFile in(::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in) return ::GetLastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(in.get(), &size)) return ::GetLastError();
    const ULONGLONG whole = static_cast<ULONGLONG>(size.QuadPart);
    LARGE_INTEGER start{};
    start.QuadPart = static_cast<LONGLONG>(whole > bytes ? whole - bytes : 0);
    if (!::SetFilePointerEx(in.get(), start, nullptr, FILE_BEGIN)) return ::GetLastError();
    FILETIME lastWrite{};
    if (!::GetFileTime(in.get(), nullptr, nullptr, &lastWrite)) return ::GetLastError();

    win32::UniqueFile out(::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
    if (!out) return ::GetLastError();
    std::vector<char> buffer(kChunkBytes);
    for (ULONGLONG left = whole - static_cast<ULONGLONG>(start.QuadPart); left > 0;) {
        DWORD read = 0;
        const DWORD wanted = left < kChunkBytes ? static_cast<DWORD>(left) : kChunkBytes;
        if (!::ReadFile(in.get(), buffer.data(), wanted, &read, nullptr)) return ::GetLastError();
        if (read == 0) break;  // the file was cut short meanwhile: what was there is copied
        DWORD written = 0;
        if (!::WriteFile(out.get(), buffer.data(), read, &written, nullptr)) return ::GetLastError();
        if (written != read) return ERROR_DISK_FULL;  // a short write: the system's own word for it
        left -= read;
    }
    return ::SetFileTime(out.get(), nullptr, nullptr, &lastWrite) ? 0 : ::GetLastError();
}

}  // namespace

bool CopyNewestPart(const std::string& source, const std::string& target, ULONGLONG bytes) {
    return win32::MakeWhole(target, true, [&](const std::string& partial) {
        const DWORD error = CopyTail(source, partial, bytes);
        ::SetLastError(error);
        return error == 0;
    });
}
