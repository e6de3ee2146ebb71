// What a folder tree holds, to prove a run wrote nothing where it must not: every file's
// path, size and last write time, compared before and after.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

struct FileStamp {
    uint64_t size = 0;
    uint64_t lastWrite = 0;
    bool folder = false;
    bool operator==(const FileStamp& other) const {
        return size == other.size && lastWrite == other.lastWrite && folder == other.folder;
    }
};

using FolderSnapshot = std::map<std::string, FileStamp>;

// Paths are relative to the root; folders named in `skip` (relative, case as found) are not
// entered, so a run folder inside the tree can be left out.
FolderSnapshot TakeFolderSnapshot(const std::string& root, const std::vector<std::string>& skip = {});

// One line per path added, removed or changed ("+ path", "- path", "~ path"); empty when none.
std::vector<std::string> SnapshotDifferences(const FolderSnapshot& before, const FolderSnapshot& after);

}  // namespace testing_support
