#include "engine/RunFolderFiles.h"

#include <algorithm>

#include "common/win32/UniqueHandle.h"
#include "common/win32/WholeFileTransfer.h"

namespace {

void ListInto(const std::string& folder, const std::string& relativeFolder, std::vector<RunFolderFile>& files) {
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string relative = relativeFolder.empty() ? name : relativeFolder + "/" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListInto(folder + "\\" + name, relative, files);
            continue;
        }
        if (win32::IsPartialFile(name)) continue;
        RunFolderFile file;
        file.relativePath = std::move(relative);
        file.size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        file.lastWrite = found.ftLastWriteTime;
        files.push_back(std::move(file));
    } while (::FindNextFileA(search.get(), &found));
}

}  // namespace

std::string RunFolderFilePath(const std::string& folder, const std::string& relativePath) {
    std::string path = folder + "\\" + relativePath;
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(folder.size()), path.end(), '/', '\\');
    return path;
}

std::string RunRelativePath(const std::string& runFolder, const std::string& path) {
    if (runFolder.empty() || path.size() <= runFolder.size() + 1 ||
        ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), static_cast<int>(runFolder.size()),
                         runFolder.c_str(), static_cast<int>(runFolder.size())) != CSTR_EQUAL ||
        path[runFolder.size()] != '\\')
        return {};
    std::string relative = path.substr(runFolder.size() + 1);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return relative;
}

std::vector<RunFolderFile> ListRunFolderFiles(const std::string& folder) {
    std::vector<RunFolderFile> files;
    ListInto(folder, "", files);
    std::sort(files.begin(), files.end(),
              [](const RunFolderFile& a, const RunFolderFile& b) { return a.relativePath < b.relativePath; });
    return files;
}
