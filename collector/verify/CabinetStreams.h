#pragma once
#include <windows.h>

#include <fdi.h>

#include <memory>

#include "verify/FileDigest.h"

// The cabinet library's side of a copy: the memory and file calls FDICreate takes. Its file
// handles are pointers to streams: a cabinet it opens, or the sink of a file it unpacks.
namespace fdi {

class Stream {
public:
    virtual ~Stream() = default;
    virtual UINT Read(void* data, UINT size) = 0;
    virtual UINT Write(const void* data, UINT size) = 0;
    virtual LONG Seek(LONG distance, int origin) = 0;
    // A cabinet is the library's to close; a sink belongs to the copy that handed it out.
    virtual bool ClosedByLibrary() const = 0;
};

// The bytes of the file being unpacked, for its digest.
class DigestSink : public Stream {
public:
    void Start(std::unique_ptr<FileDigest> digest, ULONGLONG size);
    std::unique_ptr<FileDigest> Take() { return std::move(digest_); }
    // All the bytes the cabinet's header gives the file came.
    bool Whole() const { return written_ == size_; }
    UINT Read(void*, UINT) override;
    UINT Write(const void* data, UINT size) override;
    LONG Seek(LONG, int) override { return -1; }
    bool ClosedByLibrary() const override { return false; }

private:
    std::unique_ptr<FileDigest> digest_;
    ULONGLONG size_ = 0;
    ULONGLONG written_ = 0;
};

INT_PTR HandleOf(Stream* stream);

void* DIAMONDAPI AllocateMemory(ULONG size);
void DIAMONDAPI FreeMemory(void* memory);
// Opens cabinets only, by the folder and name the copy was given (UTF-8 here, so a name the
// ANSI code page lacks still opens), or by the next cabinet's name from a header.
INT_PTR DIAMONDAPI OpenCabinet(char* path, int, int);
UINT DIAMONDAPI ReadStream(INT_PTR handle, void* data, UINT size);
UINT DIAMONDAPI WriteStream(INT_PTR handle, void* data, UINT size);
LONG DIAMONDAPI SeekStream(INT_PTR handle, LONG distance, int origin);
int DIAMONDAPI CloseStream(INT_PTR handle);

// Why the last cabinet the library could not open on this thread could not be opened (the
// library only learns that it could not); 0 after it is taken.
DWORD TakeOpenError();

}  // namespace fdi
