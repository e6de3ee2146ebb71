// Bytes placed so that the first byte after them lies on a page that cannot be read: a reader
// that goes one byte too far faults at once instead of reading whatever follows.
#pragma once
#include <windows.h>

#include <cstring>
#include <span>
#include <string>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

class GuardedBytes {
public:
    explicit GuardedBytes(const std::string& bytes) {
        SYSTEM_INFO system{};
        ::GetSystemInfo(&system);
        const size_t page = system.dwPageSize;
        const size_t dataPages = (bytes.size() + page - 1) / page;
        pages_.reset(::VirtualAlloc(nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (!pages_) return;
        BYTE* guard = static_cast<BYTE*>(pages_.get()) + dataPages * page;
        DWORD previous = 0;
        if (!::VirtualProtect(guard, page, PAGE_NOACCESS, &previous)) {
            pages_.reset();
            return;
        }
        data_ = guard - bytes.size();
        if (!bytes.empty()) std::memcpy(data_, bytes.data(), bytes.size());
        size_ = bytes.size();
    }

    bool Ready() const noexcept { return static_cast<bool>(pages_); }
    std::span<const BYTE> Span() const noexcept { return {data_, size_}; }

private:
    win32::UniqueVirtualMemory pages_;
    BYTE* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace testing_support
