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

// Every file below the folder, in every sub-folder, ordered by relative path.
std::vector<RunFolderFile> ListRunFolderFiles(const std::string& folder);
