#pragma once
// The text of the registry dump, built from values alone so every form can be checked
// without a registry; CRegInfo only writes what these return.
#include <windows.h>

#include <string>
#include <string_view>

namespace regdump {

constexpr int kIndentStep = 3;          // blanks per key level
constexpr size_t kMaxInlineBinary = 4;  // longer binary values get the hex dump below their line
constexpr size_t kHexDumpRow = 16;      // bytes per hex dump line

// "~~~[Hive:... Subkey:...]~~~" with both texts as the list gives them.
std::string FormatHeaderLine(std::string_view hive, std::string_view subKey);

// The key's name in brackets, indented by three blanks per level.
std::string FormatKeyLine(std::string_view name, int depth);

// The indentation, "name:" in 18 columns and one blank.
std::string FormatValuePrefix(std::string_view name, int width);

// One value: prefix, type column and data; several lines for REG_MULTI_SZ. A binary value
// longer than kMaxInlineBinary ends with its "follow" line; the hex dump is FormatHexDump's.
// The data need not be terminated: nothing past its length is read.
std::string FormatValueLine(std::string_view name, DWORD type, std::string_view data, int width);

// The hex dump lines of a binary value, 16 bytes a line.
std::string FormatHexDump(std::string_view data);

}  // namespace regdump
