// One program that stands in for each of the product's diagnostic tools: copied under a
// tool's file name, it does what that tool is known to leave behind (an output file in the
// current directory, text on standard output, files in the folder it is told), so a
// collection can be run and checked without the product.
//
// When ZELTRIN_STUB_LOG names a file, every start appends one line to it:
// "<tool file name, lower case>|<the command line exactly as the tool received it>".
// ZELTRIN_STUB_EXIT, when set, is the exit code (default 0).
// ZELTRIN_STUB_WAIT, "<tool names, lower case, without .exe, comma-separated>|<file>", makes those tools wait after their start is logged
// until <file> exists (a run caught in the middle of a tool), for at most kLongestWaitMs.
// ZELTRIN_STUB_CRASH, a comma-separated list of tool names (file name, lower case, without
// ".exe"), makes those tools die of an access violation right after their start is logged,
// before any output.
// ZELTRIN_STUB_SLEEP, "<tool names, comma-separated>|<milliseconds>", makes those tools sleep
// that long after their start is logged, before any output (a tool that hangs).
// ZELTRIN_STUB_SPAWN, "<tool name>|<command line>", makes that tool start the command line
// and go on without waiting for it (a tool that leaves children of its own).
// ZELTRIN_STUB_PIDS, when set, names a file to which every start appends
// "<tool name>|<process id>" and CR LF.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "common/win32/UniqueHandle.h"

namespace {

constexpr DWORD kLongestWaitMs = 300000;  // a test that forgets to release must not leave it for ever
constexpr DWORD kWaitPollMs = 50;
constexpr DWORD kRetryMs = 5;

std::string OwnName() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    name = name.substr(name.find_last_of("\\/") + 1);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name.size() > 4 && name.ends_with(".exe")) name.resize(name.size() - 4);
    return name;
}

// Appends one line to a log that tools running side by side write too: one of them may hold it
// for a moment (a command interpreter's redirection shares it with nobody), so it is tried again.
void AppendLine(const char* log, const std::string& line) {
    for (DWORD waited = 0; waited < kLongestWaitMs; waited += kRetryMs) {
        win32::UniqueFile file(::CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file) {
            ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            return;
        }
        if (::GetLastError() != ERROR_SHARING_VIOLATION) return;
        ::Sleep(kRetryMs);
    }
}

void RecordStart(const std::string& name) {
    const char* log = std::getenv("ZELTRIN_STUB_LOG");
    if (!log || !*log) return;
    AppendLine(log, name + "|" + ::GetCommandLineA() + "\r\n");
}

void WriteFile(const std::string& path, const std::string& name) {
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fprintf(file, "%s stub output\r\n", name.c_str());
        std::fclose(file);
    }
}

// Writes "<folder>\<subFolder>\<name>.log", making the folders as needed.
void WriteIntoFolder(std::string folder, const char* subFolder, const std::string& name) {
    ::CreateDirectoryA(folder.c_str(), nullptr);
    if (subFolder) {
        folder += "\\";
        folder += subFolder;
        ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    WriteFile(folder + "\\" + name + ".log", name);
}

// The value after one of the options (by default "-o"), or the last argument.
std::string OutputFolder(int argc, char** argv, std::initializer_list<const char*> options = {"-o"}) {
    for (int i = 1; i + 1 < argc; ++i)
        for (const char* option : options)
            if (std::strcmp(argv[i], option) == 0) return argv[i + 1];
    return argc > 1 ? argv[argc - 1] : std::string(".");
}

bool Listed(const std::string& names, const std::string& name) {
    std::string list = ",";
    list += names;
    list += ",";
    std::string entry = ",";
    entry += name;
    entry += ",";
    return list.find(entry) != std::string::npos;
}

void WaitIfAsked(const std::string& name) {
    const char* wait = std::getenv("ZELTRIN_STUB_WAIT");
    if (!wait) return;
    const std::string request = wait;
    const size_t bar = request.find('|');
    if (bar == std::string::npos || !Listed(request.substr(0, bar), name)) return;
    const std::string release = request.substr(bar + 1);
    for (DWORD waited = 0; waited < kLongestWaitMs; waited += kWaitPollMs) {
        if (::GetFileAttributesA(release.c_str()) != INVALID_FILE_ATTRIBUTES) return;
        ::Sleep(kWaitPollMs);
    }
}

std::string MpsCabinetPath(const char* kind) {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    char node[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof node;
    ::GetComputerNameA(node, &size);
    std::string folder = windows;
    for (const char* part : {"\\MPSReports", "\\Cluster", kind, "\\cab"}) {
        folder += part;
        ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder + "\\" + node + "_MPSReports_CLUSTER.CAB";
}


void RecordProcessId(const std::string& name) {
    const char* pids = std::getenv("ZELTRIN_STUB_PIDS");
    if (!pids || !*pids) return;
    AppendLine(pids, name + "|" + std::to_string(::GetCurrentProcessId()) + "\r\n");
}

void SpawnIfAsked(const std::string& name) {
    const char* spawn = std::getenv("ZELTRIN_STUB_SPAWN");
    if (!spawn) return;
    const std::string request = spawn;
    const size_t bar = request.find('|');
    if (bar == std::string::npos || request.substr(0, bar) != name) return;
    std::string commandLine = request.substr(bar + 1);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &started)) {
        win32::UniqueKernelHandle process(started.hProcess);
        win32::UniqueKernelHandle thread(started.hThread);
    }
}

void SleepIfAsked(const std::string& name) {
    const char* sleep = std::getenv("ZELTRIN_STUB_SLEEP");
    if (!sleep) return;
    const std::string request = sleep;
    const size_t bar = request.find('|');
    if (bar == std::string::npos || !Listed(request.substr(0, bar), name)) return;
    ::Sleep(static_cast<DWORD>(std::strtoul(request.c_str() + bar + 1, nullptr, 10)));
}

// A tool that crashes: the fault a collector meets when a diagnostic tool hits a damaged
// configuration.
void CrashIfAsked(const std::string& name) {
    const char* victims = std::getenv("ZELTRIN_STUB_CRASH");
    if (!victims || !Listed(victims, name)) return;
    // Through a volatile pointer, so the compiler can neither drop the write nor make it a trap.
    volatile int* volatile address = nullptr;
    *address = 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string name = OwnName();
    RecordStart(name);
    RecordProcessId(name);
    SpawnIfAsked(name);
    WaitIfAsked(name);
    SleepIfAsked(name);
    CrashIfAsked(name);

    if (name == "qzflxinfo") WriteFile("qzflxinfo.enc", name);
    else if (name == "qzvmdom") WriteFile("QzVMDOM.html", name);
    else if (name == "kdxdom") WriteFile("KDXDOM.html", name);
    else if (name == "pqhmc-diag") WriteIntoFolder(OutputFolder(argc, argv), nullptr, name);
    else if (name == "ruqdiaginfo" || name == "ruqdump") WriteIntoFolder(argc > 1 ? argv[1] : ".", nullptr, name);
    else if (name == "clusnap") WriteIntoFolder(OutputFolder(argc, argv), "clusnap", name);
    else if (name == "wltsnap") WriteIntoFolder(OutputFolder(argc, argv), "wltsnap", name);
    // The interpreter of the cluster communication and gather scripts: "-d" or "--dir" folder.
    else if (name == "perl") WriteIntoFolder(OutputFolder(argc, argv, {"-d", "--dir"}), nullptr, name);
    else if (name == "mpsrpt_2003_cluster") WriteFile(MpsCabinetPath("\\Report"), name);
    else if (name == "mpsrpt_2001_cluster") WriteFile(MpsCabinetPath("\\LITE"), name);
    else {
        // Tools whose output is their standard output: qzdiag, qzfilever, qzclustadm, mountvol.
        std::printf("%s stub output:", name.c_str());
        for (int i = 1; i < argc; ++i) std::printf(" %s", argv[i]);
        std::printf("\n");  // a text stream: the C runtime writes CR LF
    }

    const char* exitCode = std::getenv("ZELTRIN_STUB_EXIT");
    return exitCode ? std::atoi(exitCode) : 0;
}
