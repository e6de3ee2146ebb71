#include "MessageBoxAnswerer.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "StockIcons.h"

namespace {

[[noreturn]] void ThrowLastError(const std::string& what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

// Captions and paths hold no quotes, so quoting each argument hands it back unchanged.
std::string Quoted(const std::string& argument) { return '"' + argument + '"'; }

// The helper names a stock icon it recognises; one it could not (Wine loads the stock icons
// anew in every process) comes as "handle:<value>", which this process can still name when
// the box was its own.
std::string IconOfRecord(const std::string& recorded) {
    if (recorded.rfind("handle:", 0) != 0) return recorded;
    const char* word = StockIconWord(reinterpret_cast<HICON>(static_cast<UINT_PTR>(std::stoull(recorded.substr(7)))));
    return word != nullptr ? word : "unknown";
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::string caption, DWORD ownerPid, int buttonId, DWORD helperTimeoutMs) {
    char program[MAX_PATH] = {};
    char temporary[MAX_PATH + 1] = {};
    char record[MAX_PATH] = {};
    if (!GetModuleFileNameA(nullptr, program, sizeof program) || !GetTempPathA(sizeof temporary, temporary) ||
        !GetTempFileNameA(temporary, "mba", 0, record))
        ThrowLastError("the helper's paths");
    recordPath_ = record;
    std::string helperPath = program;
    helperPath = helperPath.substr(0, helperPath.find_last_of("\\/") + 1) + "msgbox-answer.exe";
    std::string commandLine = Quoted(helperPath) + ' ' + Quoted(caption) + ' ' + Quoted(recordPath_) + ' ' +
                              std::to_string(ownerPid) + ' ' + std::to_string(helperTimeoutMs) + ' ' +
                              std::to_string(buttonId);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(helperPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        DeleteFileA(recordPath_.c_str());
        ThrowLastError("CreateProcessA " + helperPath);
    }
    win32::UniqueKernelHandle thread(started.hThread);
    helper_.reset(started.hProcess);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    if (helper_ && WaitForSingleObject(helper_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(helper_.get(), 1);
        // The record file can only go once the helper has let go of it.
        WaitForSingleObject(helper_.get(), 5000);
    }
    DeleteFileA(recordPath_.c_str());
}

bool MessageBoxAnswerer::Wait(DWORD timeoutMs) {
    if (!helper_) return answered_;
    if (WaitForSingleObject(helper_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    DWORD exitCode = 1;
    GetExitCodeProcess(helper_.get(), &exitCode);
    helper_.reset();
    if (exitCode != 0) return false;
    std::ifstream file(recordPath_, std::ios::binary);
    const std::string record((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t lineEnd = record.find('\n');
    if (lineEnd == std::string::npos) return false;
    icon_ = IconOfRecord(record.substr(0, lineEnd));
    text_ = record.substr(lineEnd + 1);
    return answered_ = true;
}
