#include "TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

ScopedWorkFolder::ScopedWorkFolder() {
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    previous_ = current;
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    for (;;) {
        path_ = std::string(temp) + "zeltrin-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot make " << path_;
            break;
        }
    }
    ::SetCurrentDirectoryA(path_.c_str());
}

ScopedWorkFolder::~ScopedWorkFolder() {
    ::SetCurrentDirectoryA(previous_.c_str());
    RemoveTree(path_);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string TextModeBytes(const std::string& text) {
    std::string bytes;
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool PathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA((path + "\\*").c_str(), &found));
    if (search) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileA(child.c_str());
        } while (::FindNextFileA(search.get(), &found));
    }
    search.reset();
    ::RemoveDirectoryA(path.c_str());
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string PlaceStubTool(const std::string& name) {
    char path[MAX_PATH] = {};
    ::GetFullPathNameA(name.c_str(), MAX_PATH, path, nullptr);
    EXPECT_TRUE(::CopyFileA((ProgramFolder() + "\\zeltrin-stub-tool.exe").c_str(), path, FALSE)) << path;
    return path;
}

std::vector<std::string> FileLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream text(ReadWholeFile(path));
    for (std::string line; std::getline(text, line);) {
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string OwnReportName() { return std::to_string(::GetCurrentProcessId()) + "_ULVIX-Report.HTML"; }

std::vector<std::string> ReportEntries(const std::string& report) {
    const std::string opening =
        "<HTML>\n<HEADER>\n<TITLE>Zeltrin - Marlowisp Report</TITLE>\n</HEADER>\n<BODY>\n<P>";
    std::vector<std::string> entries;
    if (report.compare(0, opening.size(), opening) != 0) {
        ADD_FAILURE() << "the report does not open with the fixed texts";
        return entries;
    }
    static const std::regex prefix("(0[1-9]|1[0-2]):[0-5][0-9]:[0-5][0-9](AM|PM)\t");
    std::string body = report.substr(opening.size());
    std::vector<std::pair<size_t, size_t>> starts;  // position and length of each prefix
    for (auto match = std::sregex_iterator(body.begin(), body.end(), prefix); match != std::sregex_iterator();
         ++match)
        starts.emplace_back(static_cast<size_t>(match->position()), static_cast<size_t>(match->length()));
    if (!starts.empty() && starts.front().first != 0) ADD_FAILURE() << "text before the first entry";
    for (size_t i = 0; i < starts.size(); ++i) {
        size_t begin = starts[i].first + starts[i].second;
        size_t end = i + 1 < starts.size() ? starts[i + 1].first : body.size();
        std::string entry = body.substr(begin, end - begin);
        if (entry.size() < 4 || entry.compare(entry.size() - 4, 4, "<BR>") != 0) {
            ADD_FAILURE() << "entry not closed by <BR>: " << entry;
            continue;
        }
        entries.push_back(entry.substr(0, entry.size() - 4));
    }
    return entries;
}

ChildProcess::ChildProcess(const std::string& commandLine, const std::string& currentDirectory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                          currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &process)) {
        ADD_FAILURE() << "cannot start " << commandLine << ": error " << ::GetLastError();
        return;
    }
    process_.reset(process.hProcess);
    thread_.reset(process.hThread);
    id_ = process.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.get(), 99);
}

void ChildProcess::Resume() {
    if (thread_) ::ResumeThread(thread_.get());
}

int ChildProcess::Wait(DWORD timeoutMs) {
    if (!process_) return -1;
    if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.get(), 99);
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return static_cast<int>(code);
}

}  // namespace testing_support
