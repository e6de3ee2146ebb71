#pragma once
// The texts of the file inventory and the search paths of its folder walk, built from values
// alone; CFileInfo does the searching and the writing.
#include <windows.h>

#include <string>
#include <string_view>

namespace inventory {

constexpr size_t kMaxPath = 259;  // the walk's path buffers hold 260 characters, terminator included

// What one call of the walk searches.
struct SearchSpecs {
    std::string folderSpec;    // entry paths are made from it; its last part is replaced by the name
    std::string fileSearch;    // the file pass
    std::string folderSearch;  // the folder pass
};

// The searches of one call; a top call also sets the pattern that inner calls reuse.
SearchSpecs MakeSearchSpecs(const std::string& path, std::string& pattern, bool topCall);

// The full path of an entry found by a search: the search path with its last part replaced by the name.
std::string EntryPath(std::string_view folderSpec, std::string_view name);

// Size and the three local times of one file: the opening lines of its version-listing block.
std::string FormatFileBlock(int number, std::string_view path, DWORD sizeLow, const SYSTEMTIME& created,
                            const SYSTEMTIME& modified, const SYSTEMTIME& accessed);

// "name: value" and a line feed.
std::string FormatVersionLine(std::string_view name, std::string_view value);

// The packer's line for a file: its path relative to the base folder, twice, quoted.
std::string FormatCabinetLine(std::string_view relativePath);

// True when the full path begins with the base folder, compared without regard to case;
// relativePath then holds the rest, which begins with a backslash.
bool RelativeToBase(std::string_view fullPath, std::string_view baseFolder, std::string& relativePath);

}  // namespace inventory
