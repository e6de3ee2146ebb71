#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "inventory/CFileInfo.h"

namespace {
constexpr const char* kEmptyValue = "-Empty-";
}

bool CFileInfo::ReadVersionResource(std::string path) {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) {
        std::printf("Version Resource Information is NOT available!\n");
        return false;
    }
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return false;
    void* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length) ||
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
        if (!::VerQueryValueA(block, query, &found, &length) || !found) continue;
        const char* text = static_cast<const char*>(found);
        // Never read past the loaded block, whatever length the resource claims.
        if (text < begin || text >= end) continue;
        size_t usable = ::strnlen(text, std::min<size_t>(length, static_cast<size_t>(end - text)));
        if (usable == 0) continue;
        entry.value.assign(text, std::min(usable, kMaxVersionValue));
    }
    return true;
}

const std::string& CFileInfo::VersionValue(std::string_view name) {
    for (const VersionString& entry : versionTable_)
        if (name == entry.name) return entry.value;
    static const std::string none = kEmptyValue;
    return none;
}
