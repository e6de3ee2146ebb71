#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <string_view>

// The "files" of MANIFEST.json read back: what the run folder held when the run ended. Strict
// like the sums: an entry of another shape makes the whole list unreadable.
struct ManifestEntry {
    ULONGLONG size = 0;
    std::string sha256;  // lowercase hex; empty when the run could not read the file ("error")
    bool cut = false;    // a file of the run's own writing, cut short when it was written
};

struct ManifestList {
    std::map<std::string, ManifestEntry> files;  // by path
    std::string error;                           // why the list is unreadable; "" when it is not
};

ManifestList ReadManifestList(std::string_view text);
