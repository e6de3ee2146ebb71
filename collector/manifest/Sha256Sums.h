#pragma once
#include <string>
#include <vector>

#include "manifest/HashedFiles.h"

// The text of "SHA256SUMS" as sha256sum -c reads it: per hashed file, ordered by path, the
// hash, two blanks and the relative path, CR LF. A file without a hash gets no line: a line
// that does not hold the file's real hash is worse than none. Paths are UTF-8.
std::string Sha256SumsText(std::vector<HashedFile> files);
