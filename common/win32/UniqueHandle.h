#pragma once
// One move-only owner for every kind of Windows handle; a traits type knows the invalid
// value and the close call, so no code path has to remember to close.
#include <windows.h>
#include <wincrypt.h>
#include <setupapi.h>

#include <cstdio>
#include <utility>

namespace win32 {

template <class Traits>
class UniqueHandle {
public:
    using pointer = typename Traits::pointer;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(pointer value) noexcept : value_(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

    pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }

    void reset(pointer value = Traits::invalid()) noexcept {
        pointer old = std::exchange(value_, value);
        if (old != Traits::invalid()) Traits::close(old);
    }

    // For out-parameters: frees what is held, then hands out the slot.
    pointer* put() noexcept {
        reset();
        return &value_;
    }

private:
    pointer value_ = Traits::invalid();
};

struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};

struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits {
    using pointer = HKEY;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::RegCloseKey(h); }
};

struct ModuleTraits {
    using pointer = HMODULE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::FreeLibrary(h); }
};

struct ServiceHandleTraits {
    using pointer = SC_HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::CloseServiceHandle(h); }
};

struct LocalMemoryTraits {
    using pointer = HLOCAL;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::LocalFree(h); }
};

struct SidTraits {
    using pointer = PSID;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::FreeSid(h); }
};

struct EventLogTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::CloseEventLog(h); }
};

// The C runtime's buffered streams: the text-mode output files other than the report.
struct CStreamTraits {
    using pointer = std::FILE*;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer f) noexcept { std::fclose(f); }
};

struct DeviceInfoListTraits {
    using pointer = HDEVINFO;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::SetupDiDestroyDeviceInfoList(h); }
};

// The screen's device context, taken with GetDC(nullptr).
struct ScreenDcTraits {
    using pointer = HDC;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::ReleaseDC(nullptr, h); }
};

struct MemoryDcTraits {
    using pointer = HDC;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DeleteDC(h); }
};

struct GdiObjectTraits {
    using pointer = HGDIOBJ;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DeleteObject(h); }
};

// Pages taken whole from VirtualAlloc, released whole.
struct VirtualMemoryTraits {
    using pointer = void*;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { ::VirtualFree(p, 0, MEM_RELEASE); }
};

// The system's older cryptography (CryptoAPI): a provider context and a hash made from it.
struct CryptContextTraits {
    using pointer = HCRYPTPROV;
    static pointer invalid() noexcept { return 0; }
    static void close(pointer h) noexcept { ::CryptReleaseContext(h, 0); }
};

struct CryptHashTraits {
    using pointer = HCRYPTHASH;
    static pointer invalid() noexcept { return 0; }
    static void close(pointer h) noexcept { ::CryptDestroyHash(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;          // CreateFile
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>; // processes, threads, jobs
using UniqueFind = UniqueHandle<FindHandleTraits>;          // FindFirstFile
using UniqueRegKey = UniqueHandle<RegKeyTraits>;            // RegOpenKeyEx
using UniqueModule = UniqueHandle<ModuleTraits>;            // LoadLibraryEx
using UniqueServiceHandle = UniqueHandle<ServiceHandleTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;  // FormatMessage's buffer
using UniqueSid = UniqueHandle<SidTraits>;                  // AllocateAndInitializeSid
using UniqueEventLog = UniqueHandle<EventLogTraits>;        // OpenEventLog
using UniqueCStream = UniqueHandle<CStreamTraits>;          // fopen
using UniqueDeviceInfoList = UniqueHandle<DeviceInfoListTraits>;  // SetupDiGetClassDevs
using UniqueScreenDc = UniqueHandle<ScreenDcTraits>;        // GetDC(nullptr)
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;        // CreateCompatibleDC
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;      // CreateCompatibleBitmap
using UniqueVirtualMemory = UniqueHandle<VirtualMemoryTraits>;  // VirtualAlloc
using UniqueCryptContext = UniqueHandle<CryptContextTraits>;  // CryptAcquireContext
using UniqueCryptHash = UniqueHandle<CryptHashTraits>;        // CryptCreateHash

}  // namespace win32
