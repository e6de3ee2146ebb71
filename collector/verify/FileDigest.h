#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "manifest/Sha256.h"
#include "verify/BundleContents.h"
#include "verify/HashThread.h"

// One file of a bundle as its bytes come, in pieces of any size: counted, hashed in blocks of
// kHashBlockSize (a cabinet hands over at most 32 KiB at a time; the system's hash is quicker
// on large blocks), and kept whole when it is one of the bundle's two records. Nothing else
// of it is held in memory.
class FileDigest {
public:
    // With a thread, full blocks are hashed there, and the digest is finished with FinishOn.
    explicit FileDigest(std::string path, HashThread* thread = nullptr);

    const std::string& Path() const noexcept { return path_; }
    void Add(const char* data, size_t size);
    // The bytes stopped coming: the system's error that stopped them.
    void Fail(DWORD error);
    // The file as read, into the contents; its record's text too.
    void Finish(BundleContents& contents);
    // The same on the digest's thread, once its blocks are hashed; the contents are the
    // thread's until it is drained.
    static void FinishOn(std::unique_ptr<FileDigest> digest, BundleContents& contents);
    // A digest given up: kept until the thread is done with its blocks.
    static void DropOn(std::unique_ptr<FileDigest> digest);

private:
    // The block to its hash; `more`: bytes may follow.
    void Flush(bool more = true);
    void Complete(BundleContents& contents);

    std::string path_;
    HashThread* thread_;
    Sha256Stream hash_;
    std::string block_;
    DWORD error_ = 0;
    bool keep_ = false;
    std::string kept_;
    bool tooLarge_ = false;
};
