#include "manifest/Sha256Sums.h"

#include <algorithm>

#include "manifest/JsonWriter.h"

std::string Sha256SumsText(std::vector<HashedFile> files) {
    std::sort(files.begin(), files.end(),
              [](const HashedFile& a, const HashedFile& b) { return a.relativePath < b.relativePath; });
    std::string text;
    for (const HashedFile& file : files) {
        if (file.error || file.sha256.empty()) continue;
        text += file.sha256;
        text += "  ";
        text += AnsiToUtf8(file.relativePath);
        text += "\r\n";
    }
    return text;
}
