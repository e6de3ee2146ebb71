#include "MessageBoxAnswerer.h"

#include "StockIcons.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace {

[[noreturn]] void ThrowLastError(const char* what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

std::string RunningProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) ThrowLastError("GetModuleFileNameA");
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string NewTemporaryFile() {
    char folder[MAX_PATH + 1] = {};
    if (GetTempPathA(sizeof folder, folder) == 0) ThrowLastError("GetTempPathA");
    char path[MAX_PATH] = {};
    if (GetTempFileNameA(folder, "mba", 0, path) == 0) ThrowLastError("GetTempFileNameA");
    return path;
}

// Quotes one argument so the helper's C runtime hands it back unchanged: backslashes only
// escape when they run up to a quote.
std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    for (auto it = argument.begin();; ++it) {
        size_t backslashes = 0;
        for (; it != argument.end() && *it == '\\'; ++it) ++backslashes;
        if (it == argument.end()) {
            quoted.append(backslashes * 2, '\\');
            break;
        }
        quoted.append(*it == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        quoted.push_back(*it);
    }
    quoted.push_back('"');
    return quoted;
}

// The helper names a stock icon it recognises; one it could not (Wine loads the stock icons
// anew in every process) comes as "handle:<value>", which this process can still name when
// the box was its own.
std::string IconOfRecord(const std::string& recorded) {
    const std::string prefix = "handle:";
    if (recorded.compare(0, prefix.size(), prefix) != 0) return recorded;
    auto shown = reinterpret_cast<HICON>(static_cast<UINT_PTR>(std::stoull(recorded.substr(prefix.size()))));
    const char* word = StockIconWord(shown);
    return word != nullptr ? word : "unknown";
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::string caption, DWORD ownerPid, int buttonId, DWORD helperTimeoutMs)
    : recordPath_(NewTemporaryFile()) {
    const std::string helperPath = RunningProgramFolder() + "msgbox-answer.exe";
    std::string commandLine = QuoteArgument(helperPath) + ' ' + QuoteArgument(caption) + ' ' +
                              QuoteArgument(recordPath_) + ' ' + std::to_string(ownerPid) + ' ' +
                              std::to_string(helperTimeoutMs);
    if (buttonId != 0) commandLine += ' ' + std::to_string(buttonId);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(helperPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        DWORD error = GetLastError();
        DeleteFileA(recordPath_.c_str());
        SetLastError(error);
        ThrowLastError(("CreateProcessA " + helperPath).c_str());
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
    if (exitCode == 0) ReadRecord();
    return answered_;
}

void MessageBoxAnswerer::ReadRecord() {
    std::ifstream file(recordPath_, std::ios::binary);
    std::string record((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t lineEnd = record.find('\n');
    if (lineEnd == std::string::npos) return;
    icon_ = IconOfRecord(record.substr(0, lineEnd));
    text_ = record.substr(lineEnd + 1);
    answered_ = true;
}
