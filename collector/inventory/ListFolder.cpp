#include "inventory/CFileInfo.h"
#include "inventory/ListingFormat.h"

namespace {

bool IsDotEntry(const WIN32_FIND_DATAA& found) {
    return std::string_view(found.cFileName) == "." || std::string_view(found.cFileName) == "..";
}

bool IsFolder(const WIN32_FIND_DATAA& found) { return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

}  // namespace

void CFileInfo::ListFolder(std::string path, std::string& pattern, Mode mode) {
    // Without its file a walk would only use up entry numbers.
    if (!IsOpen()) return;
    const bool topCall = topCall_;
    inventory::SearchSpecs specs = inventory::MakeSearchSpecs(path, pattern, topCall);
    // A search that would not fit the walk's buffers is not cut short into another path:
    // the folder is left out and counted.
    if (specs.fileSearch.size() > inventory::kMaxPath ||
        (recursive_ && specs.folderSearch.size() > inventory::kMaxPath)) {
        ++skippedPaths_;
        return;
    }

    WIN32_FIND_DATAA found{};
    win32::UniqueFind files(::FindFirstFileA(specs.fileSearch.c_str(), &found));
    if (files) {
        do {
            if (IsDotEntry(found)) continue;
            if (mode == Mode::CabinetList && IsFolder(found)) continue;
            std::string entry = inventory::EntryPath(specs.folderSpec, found.cFileName);
            if (entry.size() > inventory::kMaxPath) {
                ++skippedPaths_;
                continue;
            }
            WriteEntry(entry, mode);
        } while (::FindNextFileA(files.get(), &found));
    }
    files.reset();

    if (!recursive_) return;
    win32::UniqueFind folders(::FindFirstFileA(specs.folderSearch.c_str(), &found));
    if (!folders) return;
    topCall_ = false;
    do {
        if (IsDotEntry(found) || !IsFolder(found)) continue;
        std::string entry = inventory::EntryPath(specs.folderSpec, found.cFileName);
        if (entry.size() > inventory::kMaxPath) {
            ++skippedPaths_;
            continue;
        }
        ListFolder(entry, pattern, mode);
    } while (::FindNextFileA(folders.get(), &found));
}
