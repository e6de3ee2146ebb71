#include "regdump/KeyList.h"

namespace regdump {

namespace {

struct HiveName {
    const char* name;
    HKEY root;
};

const HiveName kHives[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},   {"HKEY_USERS", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

}  // namespace

bool ReadListLine(std::FILE* list, std::string& line) {
    line.clear();
    int c = std::getc(list);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        line += static_cast<char>(c);
        c = std::getc(list);
    }
    return true;
}

std::optional<ListEntry> ParseListLine(std::string_view line) {
    if (line.empty() || line.front() == '#') return std::nullopt;
    size_t backslash = line.find('\\');
    if (backslash == std::string_view::npos) return std::nullopt;
    ListEntry entry;
    entry.hive = line.substr(0, backslash);
    entry.subKey = line.substr(backslash + 1);
    // A line over kMaxListLine characters always has a part over its limit.
    entry.dumpable = entry.hive.size() <= kMaxHiveText &&
                     entry.subKey.size() <= kMaxSubKeyText && line.find('\0') == std::string_view::npos;
    return entry;
}

HKEY HiveFromName(std::string_view hive) {
    for (const HiveName& known : kHives)
        if (SameIgnoringCase(hive, known.name)) return known.root;
    return nullptr;
}

}  // namespace regdump
