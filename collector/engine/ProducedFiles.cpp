#include "engine/ProducedFiles.h"

std::vector<std::string> FilesProduced(const std::vector<RunFolderFile>& before,
                                       const std::vector<RunFolderFile>& after) {
    std::vector<std::string> produced;
    auto old = before.begin();
    for (const RunFolderFile& file : after) {
        while (old != before.end() && old->relativePath < file.relativePath) ++old;
        const bool unchanged = old != before.end() && old->relativePath == file.relativePath &&
                               old->size == file.size &&
                               ::CompareFileTime(&old->lastWrite, &file.lastWrite) == 0;
        if (!unchanged) produced.push_back(file.relativePath);
    }
    return produced;
}
