#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "engine/RunFolderFiles.h"

// A file of the run folder with its SHA-256, or the error that kept it from being hashed.
struct HashedFile {
    std::string relativePath;  // "/"-separated
    ULONGLONG size = 0;        // as hashed; as listed when the hash failed
    std::string sha256;        // empty when `error` is set
    DWORD error = 0;
};

HashedFile HashRunFolderFile(const std::string& folder, const RunFolderFile& file);
std::vector<HashedFile> HashRunFolderFiles(const std::string& folder, const std::vector<RunFolderFile>& files);
