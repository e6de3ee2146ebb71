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

// Every file below the folder, in every sub-folder, ordered by relative path.
std::vector<RunFolderFile> ListRunFolderFiles(const std::string& folder);
