#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A file below the run folder, as the run manifest and the console summary name it.
struct RunFolderFile {
    std::string relativePath;  // "/"-separated, so sha256sum -c finds it on any system
    ULONGLONG size = 0;
    FILETIME lastWrite{};
};

// The file's path below `folder` as the system writes it: "\"-separated.
std::string RunFolderFilePath(const std::string& folder, const std::string& relativePath);

// The path below the run folder as the manifest names it ("/"-separated); "" outside it.
std::string RunRelativePath(const std::string& runFolder, const std::string& path);

// Every file below the folder, in every sub-folder, ordered by relative path; a copy that is not
// whole yet (a run killed mid-copy left it) is none of them.
std::vector<RunFolderFile> ListRunFolderFiles(const std::string& folder);
