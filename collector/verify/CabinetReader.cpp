#include "verify/CabinetReader.h"

#include <memory>

#include "common/win32/SystemLibrary.h"
#include "common/win32/Utf8Text.h"
#include "console/ConsoleWriter.h"
#include "manifest/JsonWriter.h"
#include "engine/ErrorText.h"
#include "verify/CabinetStreams.h"

namespace {

std::string ErrorLine(DWORD error) { return console::ConsoleWriter::OneLine(GetErrorText(error)); }

// One cabinet's copy: the contents it fills, the thread that hashes, the sink of the file being
// unpacked, and the first file the library closed before all its bytes came.
struct Copy {
    BundleContents& contents;
    HashThread& hashing;
    fdi::DigestSink sink;
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
        return fdi::HandleOf(&copy.sink);
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
    if (error.erfOper == FDIERROR_CABINET_NOT_FOUND) return "cannot be opened: " + ErrorLine(fdi::TakeOpenError());
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
    context_ = create(fdi::AllocateMemory, fdi::FreeMemory, fdi::OpenCabinet, fdi::ReadStream,
                      fdi::WriteStream, fdi::CloseStream, fdi::SeekStream, cpuUNKNOWN, &error_);
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
    const BOOL copied = copy_(context_, name.data(), folder.data(), 0, Notify, nullptr, &copy);
    // The contents are the thread's until then, and a file the copy stopped in is hashed there.
    hashing_.Drain();
    if (!copied)
        contents.problems.push_back("Not readable: " + shown + ": " + FdiErrorLine(error_));
    else if (!copy.notWhole.empty())
        contents.problems.push_back("Not readable: " + shown + ": " + copy.notWhole + " does not unpack whole");
}
