#include <algorithm>
#include <vector>

#include "regdump/CRegInfo.h"
#include "regdump/DumpFormat.h"
#include "regdump/KeyIdentity.h"

namespace {

constexpr DWORD kSubKeyNameBuffer = 260;  // key names hold at most 255 characters
constexpr DWORD kValueNameBuffer = 260;   // usual value names; longer ones get a larger buffer
constexpr DWORD kValueDataBuffer = 4096;  // usual value data; larger data gets a larger buffer
constexpr int kMaxEnumRetries = 3;        // a value that keeps growing while read is given up
constexpr int kMaxKeyDepth = 512;         // the registry nests no deeper: a bound even where a name is unknown

}  // namespace

void CRegInfo::DumpKey(HKEY parent, std::string subKey, REGSAM access, int depth) {
    if (depth > kMaxKeyDepth) return;
    win32::UniqueRegKey key;
    if (::RegOpenKeyExA(parent, subKey.c_str(), 0, access, key.put()) != ERROR_SUCCESS) return;
    // A link back to a key whose block is being written would repeat that block without end,
    // the more often the more such links there are: it is left out like a key that will not open.
    std::wstring realName = regdump::RealKeyName(key.get());
    const bool linkBack = !realName.empty() && std::find(keysInProgress_.begin(), keysInProgress_.end(),
                                                          realName) != keysInProgress_.end();
    if (linkBack) return;
    keysInProgress_.push_back(std::move(realName));
    Write(regdump::FormatKeyLine(subKey, depth));
    DumpValues(key.get(), (depth + 1) * regdump::kIndentStep);
    for (DWORD index = 0;; ++index) {
        char name[kSubKeyNameBuffer] = {};
        DWORD nameLength = kSubKeyNameBuffer;
        if (::RegEnumKeyExA(key.get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DumpKey(key.get(), std::string(name, nameLength), access, depth + 1);
    }
    keysInProgress_.pop_back();
}

void CRegInfo::DumpValues(HKEY key, int width) {
    // Buffers start at the usual sizes and grow to the key's largest name and data, so a long
    // value is dumped whole instead of ending its key's value list.
    DWORD longestName = 0;
    DWORD largestData = 0;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, &largestData,
                       nullptr, nullptr);
    std::vector<char> name(std::max(kValueNameBuffer, longestName + 1));
    std::vector<BYTE> data(std::max(kValueDataBuffer, largestData));
    int retries = 0;
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = 0;
        LONG status = ::RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
        if (status == ERROR_MORE_DATA && retries++ < kMaxEnumRetries) {
            // The value grew since the key was measured: measure again and read it again.
            ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                               &largestData, nullptr, nullptr);
            name.resize(std::max<size_t>(name.size(), longestName + 1));
            data.resize(std::max<size_t>({data.size(), largestData, dataLength}));
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        retries = 0;
        std::string_view bytes(reinterpret_cast<const char*>(data.data()), dataLength);
        Write(regdump::FormatValueLine(std::string_view(name.data(), nameLength), type, bytes, width));
        if (type == REG_BINARY && dataLength > regdump::kMaxInlineBinary) DumpBinary(data.data(), dataLength);
        ++index;
    }
}

void CRegInfo::DumpBinary(const BYTE* data, DWORD length) {
    Write(regdump::FormatHexDump(std::string_view(reinterpret_cast<const char*>(data), length)));
}
