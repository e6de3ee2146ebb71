#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/win32/SystemLibrary.h"
#include "inventory/CFileInfo.h"

namespace {
constexpr const char* kEmptyValue = "-Empty-";

// version.dll is no known DLL of the system, so it is taken from the system folder, once.
struct VersionCalls {
    win32::UniqueModule module;
    decltype(&::GetFileVersionInfoSizeA) infoSize = nullptr;
    decltype(&::GetFileVersionInfoA) info = nullptr;
    decltype(&::VerQueryValueA) queryValue = nullptr;
};

VersionCalls LoadVersionCalls() {
    VersionCalls calls;
    calls.module = win32::LoadSystemLibrary("version.dll");
    if (!calls.module) return calls;
    calls.infoSize = win32::ProcAddress<decltype(calls.infoSize)>(calls.module.get(), "GetFileVersionInfoSizeA");
    calls.info = win32::ProcAddress<decltype(calls.info)>(calls.module.get(), "GetFileVersionInfoA");
    calls.queryValue = win32::ProcAddress<decltype(calls.queryValue)>(calls.module.get(), "VerQueryValueA");
    // All or none, so one test before the first call covers the others.
    if (!calls.info || !calls.queryValue) calls.infoSize = nullptr;
    return calls;
}

const VersionCalls& Version() {
    static const VersionCalls calls = LoadVersionCalls();
    return calls;
}

}  // namespace

bool CFileInfo::ReadVersionResource(std::string path) {
    DWORD ignored = 0;
    DWORD size = Version().infoSize ? Version().infoSize(path.c_str(), &ignored) : 0;
    if (size == 0) {
        std::printf("Version Resource Information is NOT available!\n");
        return false;
    }
    std::vector<BYTE> block(size);
    if (!Version().info(path.c_str(), 0, size, block.data())) return false;
    void* translation = nullptr;
    UINT length = 0;
    if (!Version().queryValue(block.data(), "\\VarFileInfo\\Translation", &translation, &length) ||
        length < sizeof currentTranslation_)
        return false;
    std::memcpy(&currentTranslation_, translation, sizeof currentTranslation_);
    return ReadVersionStrings(block.data(), size);
}

bool CFileInfo::ReadVersionStrings(const void* block, DWORD size) {
    const char* begin = static_cast<const char*>(block);
    const char* end = begin + size;
    for (VersionString& entry : versionTable_) {
        char query[64] = {};
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", LOWORD(currentTranslation_),
                      HIWORD(currentTranslation_), entry.name);
        void* found = nullptr;
        UINT length = 0;
        entry.value = kEmptyValue;
        if (!Version().queryValue(block, query, &found, &length) || !found) continue;
        const char* text = static_cast<const char*>(found);
        // Never read past the loaded block, whatever length the resource claims.
        if (text < begin || text >= end) continue;
        size_t usable = ::strnlen(text, std::min<size_t>(length, static_cast<size_t>(end - text)));
        if (usable == 0) continue;
        entry.value.assign(text, std::min(usable, kMaxVersionValue));
    }
    return true;
}

const std::string& CFileInfo::VersionValue(std::string_view name) const {
    for (const VersionString& entry : versionTable_)
        if (name == entry.name) return entry.value;
    static const std::string none = kEmptyValue;
    return none;
}
