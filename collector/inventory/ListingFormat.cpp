#include "inventory/ListingFormat.h"

#include <cstdio>

namespace inventory {

namespace {

constexpr const char* kAllEntries = "*.*";

std::string TimeText(const SYSTEMTIME& time) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", time.wMonth, time.wDay, time.wYear, time.wHour,
                  time.wMinute, time.wSecond);
    return text;
}

// Everything up to and including the last backslash; empty when there is none.
std::string_view FolderPart(std::string_view path) {
    size_t backslash = path.rfind('\\');
    return backslash == std::string_view::npos ? std::string_view() : path.substr(0, backslash + 1);
}

}  // namespace

SearchSpecs MakeSearchSpecs(const std::string& path, std::string& pattern, bool topCall) {
    SearchSpecs specs;
    if (!topCall) {
        specs.folderSpec = path + "\\" + kAllEntries;
        specs.fileSearch = path + "\\" + pattern;
        specs.folderSearch = specs.folderSpec;
        return specs;
    }
    const bool wildcard = path.find('*') != std::string::npos;
    const size_t backslash = path.rfind('\\');
    if (!wildcard) {
        pattern = kAllEntries;
        specs.folderSpec = path;
        specs.folderSearch = path;
    } else if (backslash != std::string::npos) {
        pattern = path.substr(backslash + 1);
        specs.folderSpec = path.substr(0, backslash + 1) + kAllEntries;
        specs.folderSearch = specs.folderSpec;
    } else {
        pattern = path;
        specs.folderSpec = path;
        specs.folderSearch = kAllEntries;
    }
    specs.fileSearch = path;
    return specs;
}

std::string EntryPath(std::string_view folderSpec, std::string_view name) {
    std::string path(FolderPart(folderSpec));
    path += name;
    return path;
}

std::string FormatFileBlock(int number, std::string_view path, DWORD sizeLow, const SYSTEMTIME& created,
                            const SYSTEMTIME& modified, const SYSTEMTIME& accessed) {
    // The low 32 bits of the size, read as a signed number.
    char size[16] = {};
    std::snprintf(size, sizeof size, "%7d", static_cast<int>(sizeLow));
    std::string block = "[";
    block += std::to_string(number);
    block += "]\t[";
    block += path;
    block += "] ";
    block += size;
    block += " Bytes\nCreated: ";
    block += TimeText(created);
    block += "\nModified:";
    block += TimeText(modified);
    block += "\nAccessed:";
    block += TimeText(accessed);
    block += '\n';
    return block;
}

std::string FormatVersionLine(std::string_view name, std::string_view value) {
    std::string line(name);
    line += ": ";
    line += value;
    line += '\n';
    return line;
}

std::string FormatCabinetLine(std::string_view relativePath) {
    std::string line = "\"";
    line += relativePath;
    line += "\" \"";
    line += relativePath;
    line += "\";\n";
    return line;
}

bool RelativeToBase(std::string_view fullPath, std::string_view baseFolder, std::string& relativePath) {
    if (fullPath.size() < baseFolder.size()) return false;
    if (::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, fullPath.data(), static_cast<int>(baseFolder.size()),
                         baseFolder.data(), static_cast<int>(baseFolder.size())) != CSTR_EQUAL)
        return false;
    relativePath = fullPath.substr(baseFolder.size());
    return true;
}

}  // namespace inventory
