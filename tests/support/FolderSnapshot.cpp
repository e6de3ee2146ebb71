#include "FolderSnapshot.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

namespace {

void Walk(const std::string& root, const std::string& relative, const std::vector<std::string>& skip,
          FolderSnapshot& snapshot) {
    std::string folder = relative.empty() ? root : root + "\\" + relative;
    WIN32_FIND_DATAA found{};
    win32::UniqueFind find(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return;
    do {
        if (!std::strcmp(found.cFileName, ".") || !std::strcmp(found.cFileName, "..")) continue;
        std::string path = relative.empty() ? found.cFileName : relative + "\\" + found.cFileName;
        FileStamp stamp;
        stamp.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!stamp.folder) {
            stamp.size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            stamp.lastWrite =
                (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
        }
        snapshot[path] = stamp;
        if (stamp.folder && std::find(skip.begin(), skip.end(), path) == skip.end()) Walk(root, path, skip, snapshot);
    } while (::FindNextFileA(find.get(), &found));
}

}  // namespace

FolderSnapshot TakeFolderSnapshot(const std::string& root, const std::vector<std::string>& skip) {
    FolderSnapshot snapshot;
    Walk(root, std::string(), skip, snapshot);
    return snapshot;
}

std::vector<std::string> SnapshotDifferences(const FolderSnapshot& before, const FolderSnapshot& after) {
    std::vector<std::string> differences;
    for (const auto& [path, stamp] : before) {
        auto later = after.find(path);
        if (later == after.end())
            differences.push_back("- " + path);
        else if (!(later->second == stamp))
            differences.push_back("~ " + path);
    }
    for (const auto& [path, stamp] : after)
        if (!before.count(path)) differences.push_back("+ " + path);
    return differences;
}

}  // namespace testing_support
