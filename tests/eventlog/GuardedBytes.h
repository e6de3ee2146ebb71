// Bytes placed right before a page that cannot be read: a reader that goes one byte too far
// faults at once instead of reading whatever follows.
#pragma once
#include <windows.h>

#include <cstring>
#include <span>
#include <string>

#include "common/win32/UniqueHandle.h"

class GuardedBytes {
public:
    explicit GuardedBytes(const std::string& bytes) {
        SYSTEM_INFO system{};
        ::GetSystemInfo(&system);
        const size_t page = system.dwPageSize, dataPages = (bytes.size() + page - 1) / page;
        pages_.reset(::VirtualAlloc(nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        BYTE* guard = pages_ ? static_cast<BYTE*>(pages_.get()) + dataPages * page : nullptr;
        DWORD previous = 0;
        if (!guard || !::VirtualProtect(guard, page, PAGE_NOACCESS, &previous)) return;
        data_ = guard - bytes.size();
        std::memcpy(data_, bytes.data(), bytes.size());
        size_ = bytes.size();
    }
    bool Ready() const noexcept { return data_ != nullptr; }
    std::span<const BYTE> Span() const noexcept { return {data_, size_}; }

private:
    win32::UniqueVirtualMemory pages_;
    BYTE* data_ = nullptr;
    size_t size_ = 0;
};
