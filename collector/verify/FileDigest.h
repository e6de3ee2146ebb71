#pragma once
#include <windows.h>

#include <string>

#include "manifest/Sha256.h"
#include "verify/BundleContents.h"

// One file of a bundle as its bytes come, in pieces of any size: counted, hashed in blocks of
// kHashBlockSize (a cabinet hands over at most 32 KiB at a time; the system's hash is quicker
// on large blocks), and kept whole when it is one of the bundle's two records. Nothing else
// of it is held in memory.
class FileDigest {
public:
    explicit FileDigest(std::string path);

    const std::string& Path() const noexcept { return path_; }
    void Add(const char* data, size_t size);
    // The bytes stopped coming: the system's error that stopped them.
    void Fail(DWORD error);
    // The file as read, into the contents; its record's text too.
    void Finish(BundleContents& contents);

private:
    void Flush();

    std::string path_;
    Sha256Stream hash_;
    std::string block_;
    DWORD error_ = 0;
    bool keep_ = false;
    std::string kept_;
    bool tooLarge_ = false;
};
