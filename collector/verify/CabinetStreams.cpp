#include "verify/CabinetStreams.h"

#include <cstdlib>
#include <utility>

#include "common/win32/UniqueHandle.h"
#include "common/win32/Utf8Text.h"

namespace fdi {

namespace {

constexpr UINT kFailed = static_cast<UINT>(-1);

thread_local DWORD openError = 0;

class CabinetFile : public Stream {
public:
    explicit CabinetFile(HANDLE file) : file_(file) {}
    UINT Read(void* data, UINT size) override {
        DWORD read = 0;
        return ::ReadFile(file_.get(), data, size, &read, nullptr) ? read : kFailed;
    }
    UINT Write(const void*, UINT) override { return kFailed; }
    LONG Seek(LONG distance, int origin) override {
        LARGE_INTEGER move{};
        move.QuadPart = distance;
        LARGE_INTEGER position{};
        const DWORD method = origin == SEEK_CUR ? FILE_CURRENT : origin == SEEK_END ? FILE_END : FILE_BEGIN;
        if (!::SetFilePointerEx(file_.get(), move, &position, method)) return -1;
        return static_cast<LONG>(position.QuadPart);
    }
    bool ClosedByLibrary() const override { return true; }

private:
    win32::UniqueFile file_;
};

Stream* StreamOf(INT_PTR handle) { return reinterpret_cast<Stream*>(handle); }

}  // namespace

void DigestSink::Start(std::unique_ptr<FileDigest> digest, ULONGLONG size) {
    digest_ = std::move(digest);
    size_ = size;
    written_ = 0;
}

UINT DigestSink::Read(void*, UINT) { return kFailed; }

UINT DigestSink::Write(const void* data, UINT size) {
    if (!digest_) return kFailed;
    digest_->Add(static_cast<const char*>(data), size);
    written_ += size;
    return size;
}

INT_PTR HandleOf(Stream* stream) { return reinterpret_cast<INT_PTR>(stream); }

void* DIAMONDAPI AllocateMemory(ULONG size) { return std::malloc(size); }
void DIAMONDAPI FreeMemory(void* memory) { std::free(memory); }

INT_PTR DIAMONDAPI OpenCabinet(char* path, int, int) {
    HANDLE file = ::CreateFileW(win32::WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        openError = ::GetLastError();
        return -1;
    }
    return HandleOf(new CabinetFile(file));
}

UINT DIAMONDAPI ReadStream(INT_PTR handle, void* data, UINT size) { return StreamOf(handle)->Read(data, size); }
UINT DIAMONDAPI WriteStream(INT_PTR handle, void* data, UINT size) { return StreamOf(handle)->Write(data, size); }
LONG DIAMONDAPI SeekStream(INT_PTR handle, LONG distance, int origin) { return StreamOf(handle)->Seek(distance, origin); }

int DIAMONDAPI CloseStream(INT_PTR handle) {
    Stream* stream = StreamOf(handle);
    if (stream->ClosedByLibrary()) delete stream;
    return 0;
}

DWORD TakeOpenError() { return std::exchange(openError, 0); }

}  // namespace fdi
