#pragma once
// The key list "QzRegList.txt": one "HIVE\subkey" a line, "#" comments and empty lines.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace regdump {

constexpr size_t kMaxListLine = 1023;  // the list's line buffer, terminator aside
constexpr size_t kMaxHiveText = 63;    // the hive buffer, terminator aside
constexpr size_t kMaxSubKeyText = 511; // the subkey buffer, terminator aside

struct ListEntry {
    std::string hive;
    std::string subKey;
    // False for a line that does not fit the list's limits (or holds a NUL byte, which
    // would make the opened key differ from the one listed): such a line is named in the
    // dump by its header line, but no key is opened for it.
    bool dumpable = true;
};

// Reads one whole line, however long, without its line feed; false at the end of the file
// or on a read error. A line longer than the buffer is thus never taken for several lines.
bool ReadListLine(std::FILE* list, std::string& line);

// The entry a line names; nothing for an empty line, a comment or a line without a backslash.
std::optional<ListEntry> ParseListLine(std::string_view line);

// The predefined root key a hive name stands for, in any case; null for an unknown name.
HKEY HiveFromName(std::string_view hive);

}  // namespace regdump
