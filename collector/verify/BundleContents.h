#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "manifest/RecordNames.h"

// What a bundle (a run's cabinets, or a run folder) holds, as read: each file with its size and
// hash, and the text of the two records that say what it should hold.

// Paths are as the records name them: UTF-8, "/"-separated, relative to the run folder.
struct BundleFile {
    std::string path;
    ULONGLONG size = 0;
    std::string sha256;      // empty when the file could not be read
    std::string unreadable;  // why not
};

// SHA256SUMS or MANIFEST.json at the top of the bundle, kept whole as it is read.
struct BundleRecord {
    bool found = false;
    std::string text;
    std::string unreadable;  // why its text could not be kept (unread, too large)
};

struct BundleContents {
    std::vector<BundleFile> files;
    // Lines about the bundle as a whole: a cabinet that cannot be read, one of the run's not there.
    std::vector<std::string> problems;
    BundleRecord sums;
    BundleRecord manifest;
};

