#include "verify/CabinetReader.h"

#include <cstdlib>
#include <memory>

#include "common/win32/SystemLibrary.h"
#include "common/win32/Utf8Text.h"
#include "console/ConsoleWriter.h"
#include "manifest/JsonWriter.h"
#include "report/ErrorText.h"
#include "verify/FileDigest.h"

namespace {

std::string ErrorLine(DWORD error) { return console::ConsoleWriter::OneLine(GetErrorText(error)); }

// What the library reads from and writes to: a cabinet it opens, or the sink of a file it
// unpacks. Its handles are pointers to these.
class Stream {
public:
    virtual ~Stream() = default;
    virtual UINT Read(void* data, UINT size) = 0;
    virtual UINT Write(const void* data, UINT size) = 0;
    virtual LONG Seek(LONG distance, int origin) = 0;
    // A cabinet is the library's to close; a sink belongs to the copy that handed it out.
    virtual bool ClosedByLibrary() const = 0;
};

constexpr UINT kFailed = static_cast<UINT>(-1);

// Why the cabinet the library asked for could not be opened; the library only learns that it could not.
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

// The bytes of the file being unpacked, for its digest.
class DigestSink : public Stream {
public:
    void Start(std::unique_ptr<FileDigest> digest, ULONGLONG size) {
        digest_ = std::move(digest);
        size_ = size;
        written_ = 0;
    }
    std::unique_ptr<FileDigest> Take() { return std::move(digest_); }
    // All the bytes the cabinet's header gives the file came.
    bool Whole() const { return written_ == size_; }
    UINT Read(void*, UINT) override { return kFailed; }
    UINT Write(const void* data, UINT size) override {
        if (!digest_) return kFailed;
        digest_->Add(static_cast<const char*>(data), size);
        written_ += size;
        return size;
    }
    LONG Seek(LONG, int) override { return -1; }
    bool ClosedByLibrary() const override { return false; }

private:
    std::unique_ptr<FileDigest> digest_;
    ULONGLONG size_ = 0;
    ULONGLONG written_ = 0;
};

Stream* StreamOf(INT_PTR handle) { return reinterpret_cast<Stream*>(handle); }
INT_PTR HandleOf(Stream* stream) { return reinterpret_cast<INT_PTR>(stream); }

void* DIAMONDAPI AllocateMemory(ULONG size) { return std::malloc(size); }
void DIAMONDAPI FreeMemory(void* memory) { std::free(memory); }

// The library opens cabinets only, by the folder and name it was given (UTF-8 here, so a
// name the ANSI code page lacks still opens), or the next cabinet's name from the header.
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

// One cabinet's copy: the contents it fills, the thread that hashes, the sink of the file being
// unpacked, and the first file the library closed before all its bytes came.
struct Copy {
    BundleContents& contents;
    HashThread& hashing;
    DigestSink sink;
    std::string notWhole;
};

// A name as the records give it: UTF-8 (the cabinet says when it is; else it is in the ANSI
// code page the packing ran in), "/"-separated, relative.
std::string RecordPath(const char* name, USHORT attributes) {
    std::string path = (attributes & _A_NAME_IS_UTF) ? std::string(name) : AnsiToUtf8(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    const size_t start = path.find_first_not_of('/');
    return start == std::string::npos ? std::string() : path.substr(start);
}

INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION notification) {
    Copy& copy = *static_cast<Copy*>(notification->pv);
    switch (type) {
    case fdintCOPY_FILE:
        copy.sink.Start(
            std::make_unique<FileDigest>(RecordPath(notification->psz1, notification->attribs), &copy.hashing),
            static_cast<ULONG>(notification->cb));
        return HandleOf(&copy.sink);
    case fdintCLOSE_FILE_INFO: {
        std::unique_ptr<FileDigest> digest = copy.sink.Take();
        if (!digest) return TRUE;
        if (copy.sink.Whole()) {
            FileDigest::FinishOn(std::move(digest), copy.contents);
            return TRUE;
        }
        // A file cut off by a damaged cabinet did not come out, whatever part of it did.
        if (copy.notWhole.empty()) copy.notWhole = digest->Path();
        FileDigest::DropOn(std::move(digest));
        return TRUE;
    }
    case fdintNEXT_CABINET:
        // A file that goes on in the next cabinet of a set: the library looks for it beside this
        // one and asks again, with its error, when it is not there; then the copy stops.
        return notification->fdie == FDIERROR_NONE ? 0 : -1;
    default:
        return 0;
    }
}

struct FdiErrorText {
    int error;
    const char* text;
};
constexpr FdiErrorText kFdiErrorTexts[] = {
    {FDIERROR_NOT_A_CABINET, "not a cabinet"},
    {FDIERROR_UNKNOWN_CABINET_VERSION, "a cabinet version the system does not know"},
    {FDIERROR_CORRUPT_CABINET, "damaged or cut short"},
    {FDIERROR_ALLOC_FAIL, "out of memory"},
    {FDIERROR_BAD_COMPR_TYPE, "packed with a compression the system does not know"},
    {FDIERROR_MDI_FAIL, "its packed data does not unpack"},
    {FDIERROR_TARGET_FILE, "a file of it could not be taken"},
    {FDIERROR_RESERVE_MISMATCH, "damaged: its header's sizes disagree"},
    {FDIERROR_WRONG_CABINET, "a file goes on in a cabinet that is not the next one"},
    {FDIERROR_USER_ABORT, "a file goes on in a next cabinet that is not there"},
};

std::string FdiErrorLine(const ERF& error) {
    if (error.erfOper == FDIERROR_CABINET_NOT_FOUND) return "cannot be opened: " + ErrorLine(openError);
    for (const FdiErrorText& text : kFdiErrorTexts)
        if (text.error == error.erfOper) return text.text;
    return "cabinet library error " + std::to_string(error.erfOper);
}

}  // namespace

CabinetReader::CabinetReader() {
    library_ = win32::LoadSystemLibrary("cabinet.dll");
    const HMODULE library = library_.get();
    const auto create = library ? win32::ProcAddress<decltype(&::FDICreate)>(library, "FDICreate") : nullptr;
    copy_ = library ? win32::ProcAddress<decltype(&::FDICopy)>(library, "FDICopy") : nullptr;
    destroy_ = library ? win32::ProcAddress<decltype(&::FDIDestroy)>(library, "FDIDestroy") : nullptr;
    if (create == nullptr || copy_ == nullptr || destroy_ == nullptr) {
        unusable_ = "the system's cabinet.dll cannot be loaded: " + ErrorLine(::GetLastError());
        return;
    }
    context_ = create(AllocateMemory, FreeMemory, OpenCabinet, ReadStream, WriteStream, CloseStream, SeekStream,
                      cpuUNKNOWN, &error_);
    if (context_ == nullptr) unusable_ = "the system's cabinet library cannot start: " + FdiErrorLine(error_);
}

CabinetReader::~CabinetReader() {
    if (context_ != nullptr) destroy_(context_);
}

void CabinetReader::Read(const std::wstring& cabinet, BundleContents& contents) {
    const std::string shown = win32::Utf8Text(cabinet);
    if (!unusable_.empty()) {
        contents.problems.push_back("Not readable: " + shown + ": " + unusable_);
        return;
    }
    const size_t slash = cabinet.find_last_of(L"\\/");
    std::string folder = win32::Utf8Text(cabinet.substr(0, slash + 1));
    std::string name = win32::Utf8Text(cabinet.substr(slash + 1));
    Copy copy{contents, hashing_, {}, {}};
    openError = 0;
    const BOOL copied = copy_(context_, name.data(), folder.data(), 0, Notify, nullptr, &copy);
    // The contents are the thread's until then, and a file the copy stopped in is hashed there.
    hashing_.Drain();
    if (!copied)
        contents.problems.push_back("Not readable: " + shown + ": " + FdiErrorLine(error_));
    else if (!copy.notWhole.empty())
        contents.problems.push_back("Not readable: " + shown + ": " + copy.notWhole + " does not unpack whole");
}
