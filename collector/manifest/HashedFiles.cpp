#include "manifest/HashedFiles.h"

#include "manifest/Sha256.h"

HashedFile HashRunFolderFile(const std::string& folder, const RunFolderFile& file) {
    const Sha256Result hash = Sha256OfFile(RunFolderFilePath(folder, file.relativePath));
    HashedFile hashed;
    hashed.relativePath = file.relativePath;
    hashed.size = hash.error ? file.size : hash.bytes;
    hashed.sha256 = hash.hex;
    hashed.error = hash.error;
    return hashed;
}

std::vector<HashedFile> HashRunFolderFiles(const std::string& folder, const std::vector<RunFolderFile>& files) {
    std::vector<HashedFile> hashed;
    hashed.reserve(files.size());
    for (const RunFolderFile& file : files) hashed.push_back(HashRunFolderFile(folder, file));
    return hashed;
}
